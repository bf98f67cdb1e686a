#pragma once
// Why a session's last operation failed, carried up to the person who sees it.
#include <string>

namespace korvena::session {

struct SessionFailure {
  enum Kind {
    kNone,
    kCannotOpen,     // the port could not be opened; `reason` says why when the port library told
    kNotFound,       // the port opened, but no device answered at any rate
    kNoAnswer,       // the device did not answer in time
    kRefused,        // the device answered with a status other than 0
    kWrongPassword,  // the service password was refused
    kStopped,        // a bulk read was asked to stop
  };
  Kind kind = kNone;
  int status = 0;      // the device's status, for kRefused and kWrongPassword
  std::string reason;  // the system's reason, for kCannotOpen

  // One line for a person: what failed and why, in English.
  std::string Message() const;
};

}  // namespace korvena::session
