// The info query: ESC ";IV;" n CR answers the device's value number n. The
// identification exchange is the query of info 0 ("0" when ready); a status
// that a command such as TESTPASSWORD left is reported there once. INFO is
// the same query under the name the driver sends it by.
#include <cstdint>

#include "commands/command_families.h"
#include "korvena/emulator/device.h"
#include "korvena/platform/decimal_text.h"

namespace korvena::emu {
namespace {

// The info number of a query argument; -1 when it is not a plain number.
int InfoNumber(const std::string& argument) {
  return static_cast<int>(DecimalDigits(argument, INT32_MAX).value_or(-1));
}

void AnswerInfo(Device& device, const Command& command) {
  DeviceState& state = device.state();
  const int number = InfoNumber(command.Arg(0));
  if (number == 0 && state.statusOnce) {
    device.Reply(*state.statusOnce);
    state.statusOnce.reset();
    return;
  }
  device.Reply(device.InfoValue(number));
}

}  // namespace

void RegisterIdentityCommands(Device& device) {
  device.Register("IV", AnswerInfo);
  device.Register("INFO", AnswerInfo);
}

}  // namespace korvena::emu
