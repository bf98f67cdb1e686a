// The device's password, its four currencies and its six rounding
// coefficients. Each command carries the service password first. What they
// set is what the info query reports: currency n at info 71 + n as
// symbol "," rate, the rounding coefficients at info 150 as six entries
// such as "A0.05", the letter naming the kind of rounding.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "korvena/platform/decimal_text.h"

namespace korvena::emu {
namespace {

constexpr int kCurrencyInfoBase = 71;  // currency n (1..4) at info 71 + n
constexpr int kCurrencies = 4;
constexpr int kRoundingInfo = 150;
constexpr std::size_t kRoundingEntries = 6;

constexpr std::size_t kLongestSymbol = 3;
constexpr std::size_t kLongestRoundingValue = 10;

// A commissioned Slovak device: the euro, two neighbours' currencies and one
// unused row; cash rounded to five cents.
constexpr std::pair<int, const char*> kDefaultValues[] = {
    {kCurrencyInfoBase + 1, "EUR,1"},
    {kCurrencyInfoBase + 2, "CZK,25.5"},
    {kCurrencyInfoBase + 3, "USD,1.08"},
    {kCurrencyInfoBase + 4, ","},
    {kRoundingInfo, "A0.05,A0.05,H1,A0.05,P10,A0.05"},
};

// The kinds of rounding STZTYP names by a number and info 150 by a letter.
struct RoundingKind {
  std::string_view field;
  char letter;
};
constexpr RoundingKind kRoundingKinds[] = {{"0.5", 'A'}, {"0.99999999", 'H'}, {"50", 'P'}};

std::size_t ArgumentCount(const Command& command) { return command.fields.size() - 2; }

bool IsDigits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

// Digits with at most one decimal point among them, e.g. "0.05" or "10".
bool IsDecimalNumber(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  return !text.empty() && text != "." && text.size() <= kLongestRoundingValue && IsDigits(whole) &&
         IsDigits(fraction);
}

std::optional<char> RoundingLetter(std::string_view field) {
  for (const RoundingKind& kind : kRoundingKinds)
    if (kind.field == field) return kind.letter;
  return std::nullopt;
}

// ESC ";STPASS;" password ";" new password.
void SetPassword(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  const std::string& newPassword = command.Arg(1);
  if (ArgumentCount(command) != 2 || !IsServicePassword(newPassword)) return Answer(device, kBadArgument);
  device.state().servicePassword = newPassword;
  Answer(device, kDone);
}

// ESC ";STKZ;" password ";" n ";" symbol ";" rate. The symbol may not hold a
// comma: info 71 + n could not tell it from the rate then.
void SetCurrency(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  const auto number = DecimalDigits(command.Arg(1), kCurrencies);
  const std::string& symbol = command.Arg(2);
  if (ArgumentCount(command) != 4 || !number || *number < 1 || symbol.size() > kLongestSymbol ||
      symbol.find(',') != std::string::npos)
    return Answer(device, kBadArgument);
  device.state().info[kCurrencyInfoBase + static_cast<int>(*number)] = symbol + "," + command.Arg(3);
  Answer(device, kDone);
}

// ESC ";STZTYP;" password, then for each of the six entries its kind
// ("0.5", "0.99999999" or "50") and its value.
void SetRounding(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  if (ArgumentCount(command) != 1 + 2 * kRoundingEntries) return Answer(device, kBadArgument);
  std::string entries;
  for (std::size_t entry = 0; entry < kRoundingEntries; ++entry) {
    const std::optional<char> letter = RoundingLetter(command.Arg(1 + 2 * entry));
    const std::string& value = command.Arg(2 + 2 * entry);
    if (!letter || !IsDecimalNumber(value)) return Answer(device, kBadArgument);
    if (entry != 0) entries += ',';
    entries += *letter;
    entries += value;
  }
  device.state().info[kRoundingInfo] = entries;
  Answer(device, kDone);
}

}  // namespace

bool IsServicePassword(std::string_view text) {
  constexpr std::size_t kLongestPassword = 11;
  return !text.empty() && text.size() <= kLongestPassword && IsDigits(text);
}

void RegisterPasswordCurrencyRoundingCommands(Device& device) {
  for (const auto& [number, text] : kDefaultValues) device.state().info.try_emplace(number, text);
  device.Register("STPASS", SetPassword);
  device.Register("STKZ", SetCurrency);
  device.Register("STZTYP", SetRounding);
}

}  // namespace korvena::emu
