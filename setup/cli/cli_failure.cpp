#include "cli_failure.h"

namespace korvena::cli {

void FailUsage(const std::string& message) { throw CliFailure(kExitUsage, "usage", message); }

void FailInvalid(const std::string& message) { throw CliFailure(kExitUsage, "invalid", message); }

void FailFile(const std::string& message) { throw CliFailure(kExitFile, "file", message); }

session::SessionFailure FailureOfKind(session::SessionFailure::Kind kind, int status) {
  session::SessionFailure failure;
  failure.kind = kind;
  failure.status = status;
  return failure;
}

CliFailure SessionFailureOf(const session::SessionFailure& why, std::string_view doing) {
  using Kind = session::SessionFailure::Kind;
  const std::string message = std::string(doing) + ": " + why.Message();
  switch (why.kind) {
    case Kind::kCannotOpen: return {kExitNoDevice, "cannot-open", message};
    case Kind::kNotFound: return {kExitNoDevice, "no-device", message};
    case Kind::kNoAnswer: return {kExitNoDevice, "no-answer", message};
    case Kind::kRefused:
      // An answer that is no status number at all has no meaning to look up.
      if (why.status < 0) return {kExitRefused, "refused", std::string(doing) + ": the device answered with no status"};
      return {kExitRefused, "refused", message, why.status};
    case Kind::kWrongPassword: return {kExitRefused, "wrong-password", message, why.status};
    case Kind::kStopped:
    case Kind::kNone: break;
  }
  return {kExitRefused, "failed", message};
}

void FailSession(const session::SessionFailure& why, std::string_view doing) { throw SessionFailureOf(why, doing); }

void Require(const operations::Outcome& outcome, std::string_view doing) {
  if (!outcome.ok) FailSession(outcome.failure, doing);
}

}  // namespace korvena::cli
