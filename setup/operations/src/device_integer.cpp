#include "korvena/operations/device_integer.h"

#include <string>

namespace korvena::operations {

std::optional<int32_t> ParseDeviceInteger(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return std::nullopt;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  if (i == text.size()) return std::nullopt;
  // The negative range reaches one further than the positive one.
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

int32_t ToInteger(std::string_view text) {
  if (const auto value = ParseDeviceInteger(text)) return *value;
  throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace korvena::operations
