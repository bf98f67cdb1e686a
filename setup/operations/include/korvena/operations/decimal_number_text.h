#pragma once
// The form the sale dialogs accept for a quantity, a price or an amount
// before they pass it on, as typed, to the device.
#include <string_view>

namespace korvena::operations {

// True for optional leading blanks, an optional "+" or "-", digits with at
// most one decimal point (a point alone will do), an optional exponent ("E"
// or "e", an optional sign, at least one digit) and nothing after. A decimal
// comma, a trailing blank and an empty text are refused.
bool IsDecimalNumberText(std::string_view text);

}  // namespace korvena::operations
