// Commands the service program relies on.
#include "command_families.h"
#include "korvena/emulator/device.h"
#include "setup_info_values.h"

namespace korvena::emu {
namespace {

// The status a wrong password leaves for info 0.
constexpr const char* kWrongPassword = "512";

// ESC ";TESTPASSWORD;" password: the status of the check is the reply, and
// the next query of info 0, where the service program looks for it, reports
// it once more.
void TestPassword(Device& device, const Command& command) {
  DeviceState& state = device.state();
  const std::string status = command.Arg(0) == state.servicePassword ? "0" : kWrongPassword;
  state.statusOnce = status;
  device.Reply(status);
}

}  // namespace

void RegisterSetupCommands(Device& device) {
  device.state().servicePassword = device.settings().servicePassword;
  FillSetupInfoValues(device.state());
  device.Register("TESTPASSWORD", TestPassword);
}

}  // namespace korvena::emu
