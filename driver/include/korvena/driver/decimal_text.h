#pragma once
// Decimal numbers in texts from the device and the configuration: digits
// only, nothing around them, never overflowing.
#include <cstdint>
#include <optional>
#include <string_view>

namespace korvena::driver {

// The value of a non-empty run of decimal digits when it is at most `largest`.
inline std::optional<int64_t> DecimalDigits(std::string_view text, int64_t largest) {
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const int digit = c - '0';
    if (value > (largest - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace korvena::driver
