#pragma once
// The line rates of the device, in the order its line index numbers them
// (0..6); the baud search tries them in this order too.
#include <array>
#include <cstdint>
#include <optional>

namespace korvena::protocol {

inline constexpr std::array<int32_t, 7> kLineRates = {9600, 14400, 19200, 28800, 38400, 57600, 115200};

// Bulk data (SD days, the fiscal memory, firmware) always travels at this rate.
inline constexpr int32_t kBulkRate = 115200;

// The device's index of `rate`, or nullopt for a rate it does not run at.
constexpr std::optional<int> LineRateIndex(int32_t rate) {
  for (std::size_t i = 0; i < kLineRates.size(); ++i)
    if (kLineRates[i] == rate) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace korvena::protocol
