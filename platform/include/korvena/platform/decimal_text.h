#pragma once
// Decimal numbers in texts from the device, the command line and the
// configuration: digits only, nothing around them, never overflowing.
#include <cstdint>
#include <optional>
#include <string_view>

namespace korvena {

// The value of a non-empty run of decimal digits when it is at most
// `largest`; nullopt for an empty text, a sign, any other character or a
// larger number.
inline std::optional<uint64_t> DecimalDigits(std::string_view text, uint64_t largest) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<uint64_t>(c - '0');
    // `digit > largest` first: below 9 the subtraction would wrap around.
    if (digit > largest || value > (largest - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace korvena
