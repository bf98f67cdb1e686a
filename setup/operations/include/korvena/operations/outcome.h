#pragma once
// How a write operation went: whether the device took every command it
// sent, and if not, why the first one failed. The service program shows
// effects by reading values again; a script needs the refusal itself.
#include <string_view>

#include "korvena/session/device_session.h"

namespace korvena::operations {

using session::DeviceSession;

struct Outcome {
  bool ok = true;
  session::SessionFailure failure;  // of the first command not taken

  // Sends `frame` with the session's command rules and notes a refusal.
  bool Send(DeviceSession& session, std::string_view frame);
  // Notes a failure found otherwise (a value that did not read back).
  void Fail(const session::SessionFailure& why);
};

// The password every configuration command carries first: the one logged in with.
inline const std::string& Password(const DeviceSession& session) { return session.state().LoginPassword; }

}  // namespace korvena::operations
