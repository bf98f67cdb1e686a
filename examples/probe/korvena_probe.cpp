// korvena-probe: finds a Korvena device on a COM port the way every program
// of the suite connects, and tells what it saw on the way.
//   korvena-probe [COM] [BAUD] [TIMEOUT]     defaults: 1 9600 100
#include <cstdio>
#include <optional>
#include <string>

#include "korvena/link/command_link.h"
#include "korvena/link/korvport_port.h"
#include "korvena/platform/decimal_text.h"

namespace {

class PrintingObserver : public korvena::OpenObserver {
 public:
  void SleptAfterFailedOpen(int attempt) override { std::printf("  attempt %2d: port not open, waited 200 ms\n", attempt); }
  void IdentifyAttempted(int attempt) override { std::printf("  attempt %2d: identification sent\n", attempt); }
  void FinalOpen(bool opened, int32_t baud) override {
    if (opened)
      std::printf("  no answer at %d baud yet: one longer try, then the baud search\n", baud);
    else
      std::printf("  the port does not open\n");
  }
};

constexpr const char* kUsage =
    "Usage: korvena-probe [COM] [BAUD] [TIMEOUT]\n"
    "Finds a Korvena device on COM port COM (1..20, default 1), starting at BAUD\n"
    "(default 9600) with the base time limit TIMEOUT in ms (default 100).\n";

// The argument `index` as a number from 1 to `largest`; `fallback` when it is
// not given, nullopt when it is no such number.
std::optional<int32_t> Argument(int argc, char** argv, int index, int32_t fallback, uint64_t largest) {
  if (argc <= index) return fallback;
  const auto value = korvena::DecimalDigits(argv[index], largest);
  if (!value || *value == 0) return std::nullopt;
  return static_cast<int32_t>(*value);
}

}  // namespace

int main(int argc, char** argv) {
  const auto com = Argument(argc, argv, 1, 1, 20);
  const auto baudArgument = Argument(argc, argv, 2, 9600, 4000000);
  const auto timeoutArgument = Argument(argc, argv, 3, 100, 5000);
  if (!com || !baudArgument || !timeoutArgument || argc > 4) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const int32_t baud = *baudArgument;
  const int32_t timeout = *timeoutArgument;
  std::printf("Looking for the device on COM%d at %d baud (time limit %d ms)\n", *com, baud, timeout);

  korvena::KorvportPort port;
  if (!port.bound()) {
    std::printf("The port library cannot be used: %s\n", port.problem().c_str());
    return 1;
  }
  korvena::SystemClock clock;
  korvena::CommandLink link(port, clock);
  PrintingObserver observer;
  const korvena::OpenOutcome outcome = link.OpenAndIdentify(*com, baud, static_cast<uint32_t>(timeout), &observer);
  switch (outcome.kind) {
    case korvena::OpenOutcome::kIdentified:
      std::printf("Device identified at %d baud\n", outcome.baud);
      break;
    case korvena::OpenOutcome::kIdentifiedBySearch:
      std::printf("Device found by the baud search at %d baud\n", outcome.baud);
      break;
    case korvena::OpenOutcome::kCannotOpen:
      std::printf("COM%d cannot be opened\n", *com);
      return 1;
    case korvena::OpenOutcome::kNotFound:
      std::printf("No device answers on COM%d at any rate\n", *com);
      return 1;
  }
  link.SendText(korvena::kIdentifyCommand);
  std::printf("Identification answer: \"%s\"\n", link.ReadResponse(static_cast<uint32_t>(timeout) * 5).c_str());
  port.Close();
  return 0;
}
