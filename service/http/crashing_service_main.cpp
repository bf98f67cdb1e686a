// korvena-service for the crash sweep, a test build only: it kills itself
// with SIGKILL at the frame and point KORVENA_SERVICE_CRASH names, e.g.
// "L2:sent" (points: before-send, sent, answered), as a power cut would.
#include <signal.h>

#include <cstdlib>
#include <exception>
#include <string>

#include "korvena/service/service_log.h"
#include "service_program.h"

int main(int argc, char** argv) {
  using korvena::service::CrashPoint;
  const char* wanted = std::getenv("KORVENA_SERVICE_CRASH");
  const std::string target = wanted != nullptr ? wanted : "";
  korvena::service::CrashHook hook = [target](std::string_view purpose, CrashPoint point) {
    static const char* const kPoints[] = {"before-send", "sent", "answered"};
    if (target == std::string(purpose) + ":" + kPoints[static_cast<int>(point)]) raise(SIGKILL);
  };
  try {
    return korvena::service::RunServiceProgram(argc, argv, target.empty() ? nullptr : hook);
  } catch (const std::exception& error) {
    korvena::service::LogLine("%s", error.what());
    return 1;
  }
}
