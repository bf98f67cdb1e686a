#pragma once
// Amounts and quantities as people and documents give them: decimal texts,
// not negative, checked before anything reaches the device.
#include <cstdint>
#include <string>
#include <string_view>

namespace korvena::operations {

// Digits with at most `decimals` after a point, not negative, at most
// protocol::kLargestNumber; in units of 10^-decimals. InvalidInput naming
// `what` otherwise.
int64_t ParseAmount(std::string_view text, int decimals, std::string_view what);
// The amount as the device is sent it: `decimals` digits after the point.
std::string AmountText(int64_t units, int decimals);
// Cents with their two decimals: "12.50".
std::string MoneyText(int64_t cents);

}  // namespace korvena::operations
