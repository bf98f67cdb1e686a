#pragma once
// The forms of the values kalibro-cli takes on its command line and in its
// documents, checked before anything reaches the device. Each parser names
// `what` in its failure (a usage failure, exit status 2).
#include <cstdint>
#include <string>
#include <string_view>

#include "korvena/operations/service.h"

namespace korvena::cli {

// A decimal integer from `lowest` to `highest`, digits only.
int ParseWholeNumber(std::string_view text, int lowest, int highest, std::string_view what);

// Whether `date` is a day of the calendar in the years the device's clock counts.
bool ValidDate(const LocalDate& date);
// "dd.mm.yyyy", a day of the calendar in the years the device's clock counts (1996..2099).
LocalDate ParseDate(std::string_view text, std::string_view what);
// "dd.mm.yyyy hh:mm:ss" (the seconds may be left out).
operations::DateTime ParseDateTime(std::string_view text, std::string_view what);

// An amount or quantity: digits with at most `decimals` after a point, not
// negative; in units of 10^-decimals.
int64_t ParseAmount(std::string_view text, int decimals, std::string_view what);
// The amount as the device is sent it: `decimals` digits after the point.
std::string AmountText(int64_t units, int decimals);
// Cents with their two decimals: "12.50".
std::string MoneyText(int64_t cents);

// Digits with at most one point among them and at most `longest`
// characters: an exchange rate, a rounding value.
bool IsPlainDecimal(std::string_view text, std::size_t longest);

// A service password: 1 to 11 digits. The failure never repeats the text.
void CheckPassword(std::string_view text, std::string_view what);

}  // namespace korvena::cli
