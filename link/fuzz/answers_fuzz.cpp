// Any bytes from the device, arriving at any time: reading answers,
// identifying and searching the baud rate must end at their deadlines with a
// defined result.
#include <cstdint>
#include <string>

#include "korvena/link/command_link.h"
#include "korvena/link/scripted_port.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvena::VirtualClock clock(0xFFFFFF00u);
  korvena::ScriptedPort port(clock);
  korvena::CommandLink link(port, clock);
  // Each input byte pair is (delay, byte): the device's answer as it trickles in.
  uint32_t at = clock.Ticks();
  for (size_t i = 0; i + 1 < size; i += 2) {
    at += data[i];
    port.SendAt(at, std::string(1, static_cast<char>(data[i + 1])));
  }
  const std::string line = link.ReadResponse(100);
  if (line.find('\r') != std::string::npos) __builtin_trap();
  link.IdentifyDevice(50);
  link.FindBaudRate(20);
  link.OpenAndIdentify(1, 9600, 10);
  return 0;
}
