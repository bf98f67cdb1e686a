#include "korvena/session/session_failure.h"

#include "korvena/protocol/device_status.h"

namespace korvena::session {

std::string SessionFailure::Message() const {
  switch (kind) {
    case kNone: return "no failure";
    case kCannotOpen: return reason.empty() ? "the port cannot be opened" : "the port cannot be opened: " + reason;
    case kNotFound: return "no device answers on the port";
    case kNoAnswer: return "the device did not answer";
    case kRefused:
      return "the device refused with status " + std::to_string(status) + " (" +
             std::string(protocol::StatusMeaning(status)) + ")";
    case kWrongPassword: return "the device refused the service password (status 512)";
    case kStopped: return "stopped";
  }
  return "unknown failure";
}

}  // namespace korvena::session
