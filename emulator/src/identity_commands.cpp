// The info query: ESC ";IV;" n CR answers the device's value number n. The
// identification exchange is the query of info 0 ("0" when ready).
#include <charconv>

#include "command_families.h"
#include "korvena/emulator/device.h"

namespace korvena::emu {
namespace {

// The info number of a query argument; -1 when it is not a plain number.
int InfoNumber(const std::string& argument) {
  int number = -1;
  const auto [end, error] = std::from_chars(argument.data(), argument.data() + argument.size(), number);
  if (error != std::errc() || end != argument.data() + argument.size()) return -1;
  return number;
}

void AnswerInfo(Device& device, const Command& command) {
  const auto& info = device.state().info;
  const auto value = info.find(InfoNumber(command.Arg(0)));
  device.Reply(value != info.end() ? value->second : std::string());
}

}  // namespace

void RegisterIdentityCommands(Device& device) { device.Register("IV", AnswerInfo); }

}  // namespace korvena::emu
