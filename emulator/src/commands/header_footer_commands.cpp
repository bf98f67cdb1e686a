// The receipt header and footer: ten lines each, which the device prints on
// every document. Lines are kept as sent, in code page 852.
#include <string>

#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"

namespace korvena::emu {
namespace {

constexpr int kHeaderInfo = 120;  // header lines 1..10 are info 120..129
constexpr int kFooterInfo = 130;  // footer lines 1..10 are info 130..139
constexpr int kLines = 10;
constexpr std::size_t kLongestLine = 40;  // bytes the device holds per line

// The shop the emulated device was commissioned for, in code page 852:
// 0xA0 á, 0xA1 í, 0xAC Č, 0xD2 Ď, 0xD4 ď, 0xE7 š.
const char* const kDefaultHeader[kLines] = {
    "Potraviny U Mosta s.r.o.",
    "Hlavn\xA0 12, 811 01 Bratislava",
    "I\xACO: 31234567",
    "DI\xAC: 2021234567",
    "I\xAC DPH: SK2021234567",
};
const char* const kDefaultFooter[kLines] = {
    "\xD2" "akujeme za n\xA0kup",
    "Te\xE7\xA1me sa na Va\xE7u \xD4" "al\xE7iu n\xA0v\xE7tevu",
};

// ESC ";HL;" or ";TL;" password ";" index ";" text: line index+1 becomes
// the text. The index is one digit 0..9; the text at most 40 bytes.
void StoreLine(Device& device, const Command& command, int firstInfo) {
  if (!PasswordAccepted(device, command)) return;
  const std::string& index = command.Arg(1);
  const std::string& text = command.Arg(2);
  const bool indexValid = index.size() == 1 && index[0] >= '0' && index[0] < '0' + kLines;
  if (command.fields.size() != 5 || !indexValid || text.size() > kLongestLine) return Answer(device, kBadArgument);
  device.state().info[firstInfo + (index[0] - '0')] = text;
  Answer(device, kDone);
}

}  // namespace

void RegisterHeaderFooterCommands(Device& device) {
  auto& info = device.state().info;
  for (int i = 0; i < kLines; ++i) {
    info.try_emplace(kHeaderInfo + i, kDefaultHeader[i] ? kDefaultHeader[i] : "");
    info.try_emplace(kFooterInfo + i, kDefaultFooter[i] ? kDefaultFooter[i] : "");
  }
  device.Register("HL", [](Device& d, const Command& c) { StoreLine(d, c, kHeaderInfo); });
  device.Register("TL", [](Device& d, const Command& c) { StoreLine(d, c, kFooterInfo); });
}

}  // namespace korvena::emu
