#include "commands/command_status.h"

#include <string>
#include <string_view>

namespace korvena::emu {

void Answer(Device& device, const char* status) { AnswerAfter(device, status, 0); }

void AnswerAfter(Device& device, const char* status, uint32_t pauseMs) {
  if (std::string_view(status) != kDone) device.state().statusOnce = status;
  device.Send(std::string(status) + "\r", 0, pauseMs);
}

bool PasswordAccepted(Device& device, const Command& command) {
  if (command.Arg(0) == device.state().servicePassword) return true;
  Answer(device, kWrongPassword);
  return false;
}

}  // namespace korvena::emu
