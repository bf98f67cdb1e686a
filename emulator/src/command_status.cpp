#include "command_status.h"

#include <string_view>

namespace korvena::emu {

void Answer(Device& device, const char* status) {
  if (std::string_view(status) != kDone) device.state().statusOnce = status;
  device.Reply(status);
}

bool PasswordAccepted(Device& device, const Command& command) {
  if (command.Arg(0) == device.state().servicePassword) return true;
  Answer(device, kWrongPassword);
  return false;
}

}  // namespace korvena::emu
