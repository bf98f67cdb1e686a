#include "korvena/operations/outcome.h"

namespace korvena::operations {

bool Outcome::Send(DeviceSession& session, std::string_view frame) {
  const bool taken = session.SendCommand(frame);
  if (!taken) Fail(session.lastFailure());
  return taken;
}

void Outcome::Fail(const session::SessionFailure& why) {
  if (!ok) return;
  ok = false;
  failure = why;
}

}  // namespace korvena::operations
