// korvena-probe: finds a Korvena device on a COM port the way every program
// of the suite connects, and tells what it saw on the way.
//   korvena-probe [COM] [BAUD] [TIMEOUT]     defaults: 1 9600 100
#include <cstdio>
#include <cstdlib>
#include <string>

#include "korvena/link/command_link.h"
#include "korvena/link/korvport_port.h"

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

int32_t Argument(int argc, char** argv, int index, int32_t fallback) {
  return argc > index ? static_cast<int32_t>(std::strtol(argv[index], nullptr, 10)) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t com = Argument(argc, argv, 1, 1);
  const int32_t baud = Argument(argc, argv, 2, 9600);
  const int32_t timeout = Argument(argc, argv, 3, 100);
  std::printf("Looking for the device on COM%d at %d baud (time limit %d ms)\n", com, baud, timeout);

  korvena::KorvportPort port;
  if (!port.bound()) {
    std::printf("The port library cannot be used: %s\n", port.problem().c_str());
    return 1;
  }
  korvena::SystemClock clock;
  korvena::CommandLink link(port, clock);
  PrintingObserver observer;
  const korvena::OpenOutcome outcome = link.OpenAndIdentify(com, baud, static_cast<uint32_t>(timeout), &observer);
  switch (outcome.kind) {
    case korvena::OpenOutcome::kIdentified:
      std::printf("Device identified at %d baud\n", outcome.baud);
      break;
    case korvena::OpenOutcome::kIdentifiedBySearch:
      std::printf("Device found by the baud search at %d baud\n", outcome.baud);
      break;
    case korvena::OpenOutcome::kCannotOpen:
      std::printf("COM%d cannot be opened\n", com);
      return 1;
    case korvena::OpenOutcome::kNotFound:
      std::printf("No device answers on COM%d at any rate\n", com);
      return 1;
  }
  link.SendText(korvena::kIdentifyCommand);
  std::printf("Identification answer: \"%s\"\n", link.ReadResponse(static_cast<uint32_t>(timeout) * 5).c_str());
  port.Close();
  return 0;
}
