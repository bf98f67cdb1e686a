#pragma once
// Why kalibro-cli stops short: the exit status a script tests, a code and a
// message for --json and for a person. Thrown where the failure is found,
// caught once, in RunKalibroCli, so no command needs its own error path.
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "korvena/operations/invalid_input.h"
#include "korvena/operations/outcome.h"
#include "korvena/session/session_failure.h"

namespace korvena::cli {

enum ExitStatus {
  kExitDone = 0,
  kExitRefused = 1,   // the device refused (its status in the message)
  kExitUsage = 2,     // the command line or a document is wrong; nothing was sent
  kExitNoDevice = 3,  // no device, the port cannot be opened, or the device fell silent
  kExitFile = 4,      // a file could not be read or written
};

class CliFailure : public std::runtime_error {
 public:
  CliFailure(ExitStatus exit, std::string code, const std::string& message, std::optional<int> deviceStatus = {})
      : std::runtime_error(message), exit_(exit), code_(std::move(code)), deviceStatus_(deviceStatus) {}

  ExitStatus exit() const { return exit_; }
  const std::string& code() const { return code_; }
  const std::optional<int>& deviceStatus() const { return deviceStatus_; }
  // More for --json: what a document refused midway came to, say.
  nlohmann::ordered_json& detail() { return detail_; }
  const nlohmann::ordered_json& detail() const { return detail_; }

 private:
  ExitStatus exit_;
  std::string code_;
  std::optional<int> deviceStatus_;
  nlohmann::ordered_json detail_ = nlohmann::ordered_json::object();
};

// The command line's grammar: a missing, unknown or extra argument.
[[noreturn]] void FailUsage(const std::string& message);
// A value that is well placed but wrong: a date, an amount, a text the
// device's code page cannot hold.
[[noreturn]] void FailInvalid(const std::string& message);
[[noreturn]] void FailFile(const std::string& message);

// `check`'s result; the shared checks' InvalidInput becomes FailInvalid.
template <typename Check>
auto AsUsageFailure(Check check) -> decltype(check()) {
  try {
    return check();
  } catch (const operations::InvalidInput& invalid) {
    FailInvalid(invalid.what());
  }
}

// A failure of `kind` (with the device's `status` for a refusal), for what
// an operation tells otherwise than by a session failure.
session::SessionFailure FailureOfKind(session::SessionFailure::Kind kind, int status = 0);

// The session's failure as the person and the script see it; `doing` says
// what was under way ("header set").
CliFailure SessionFailureOf(const session::SessionFailure& why, std::string_view doing);
[[noreturn]] void FailSession(const session::SessionFailure& why, std::string_view doing);
// Stops when the device did not take every command of `outcome`.
void Require(const operations::Outcome& outcome, std::string_view doing);

}  // namespace korvena::cli
