// Commands the service program relies on.
#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "model/setup_info_values.h"

namespace korvena::emu {
namespace {

// ESC ";TESTPASSWORD;" password: the status of the check is the reply, and
// the next query of info 0, where the service program looks for it, reports
// it once more.
void TestPassword(Device& device, const Command& command) {
  if (PasswordAccepted(device, command)) Answer(device, kDone);
}

}  // namespace

void RegisterSetupCommands(Device& device) {
  device.state().servicePassword = device.settings().servicePassword;
  FillSetupInfoValues(device.state());
  device.Register("TESTPASSWORD", TestPassword);
}

}  // namespace korvena::emu
