// Commands the driver library relies on besides the sales commands, the CRC
// announcement frames and INFO (each a family of its own): GETLDX with the
// LDX data of the last printout, and READSD with an SD-card day.
#include "commands/command_families.h"
#include "korvena/emulator/device.h"

namespace korvena::emu {
namespace {

// SD data always travels at this speed...
constexpr uint32_t kSdBaud = 115200;
// ...after a pause in which the PC switches its side of the line, and another
// pause before the closing line at the device's own speed.
constexpr uint32_t kSpeedChangePauseMs = 50;

// The two bytes that end LDX data: a 16-bit sum of the data, high byte first.
std::string LdxTrailer(const std::string& data) {
  uint16_t sum = 0;
  for (const char c : data) sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(c));
  return {static_cast<char>(sum >> 8), static_cast<char>(sum & 0xFF)};
}

// ESC ";GETLDX": the LDX data of the last printout; nothing before the first.
void SendLdx(Device& device, const Command&) {
  const std::string& ldx = device.state().sales.ldx;
  if (!ldx.empty()) device.Send(ldx + LdxTrailer(ldx));
}

// ESC ";READSD;" day: the length line, the day's data at 115200, a closing "0".
void SendSdDay(Device& device, const Command& command) {
  const auto& days = device.state().sales.sdDays;
  const auto day = days.find(command.Arg(0));
  const std::string data = day != days.end() ? day->second : std::string();
  device.Reply(std::to_string(data.size()));
  device.Send(data, kSdBaud, kSpeedChangePauseMs);
  device.Send("0\r", 0, kSpeedChangePauseMs);
}

}  // namespace

void RegisterDriverCommands(Device& device) {
  device.Register("GETLDX", SendLdx);
  device.Register("READSD", SendSdDay);
}

}  // namespace korvena::emu
