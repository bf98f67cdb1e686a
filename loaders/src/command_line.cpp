#include "korvena/loaders/command_line.h"

#include <limits>

#include "korvena/platform/decimal_text.h"

namespace korvena::loaders {

std::string UpperCaseAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

char OptionLetter(std::string_view argument) {
  if (argument.size() < 2 || (argument[0] != '-' && argument[0] != '/')) return 0;
  return argument[1];
}

bool ForEachOption(const std::vector<std::string>& arguments,
                   const std::function<bool(char letter, std::string_view value)>& handle) {
  for (const std::string& argument : arguments) {
    const std::string upper = UpperCaseAscii(argument);
    const std::string_view value = upper.size() > 2 ? std::string_view(upper).substr(2) : std::string_view();
    if (!handle(OptionLetter(upper), value)) return false;
  }
  return true;
}

bool TakePortNumber(std::string_view value, uint8_t& port) {
  const auto number = DecimalDigits(value, std::numeric_limits<uint8_t>::max());
  if (number) port = static_cast<uint8_t>(*number);
  return number.has_value();
}

std::optional<bool> ShowFlagValue(std::string_view value) {
  const auto number = DecimalDigits(value, std::numeric_limits<uint32_t>::max());
  if (!number) return std::nullopt;
  return *number == 1;
}

}  // namespace korvena::loaders
