#pragma once
// Numbers as the sales commands take them and as the device prints and
// reports them: amounts in cents, quantities in thousandths, printed with a
// decimal point.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvena::emu {

// A quantity, price or amount beyond this is more than the device holds.
inline constexpr double kLargestNumber = 1e7;

// A number in the C library's notation: leading blanks, a sign, decimal
// digits with a point and an exponent ("-2.5", "1e2") or "0x" and
// hexadecimal ones; nothing after it.
std::optional<double> ParseNumber(std::string_view text);

// A number text ("1.000", "-2.5", "1e2") in units of 1/scale, rounded;
// nullopt when it is no number or beyond kLargestNumber.
std::optional<int64_t> Decimal(std::string_view text, double scale);

// Digits only, from `lowest` to `highest`.
std::optional<int64_t> Whole(std::string_view text, int64_t lowest, int64_t highest);

// An amount as the device reports it ("-312.40", "7"), read exactly in
// cents; nullopt when it is not one.
std::optional<int64_t> ParseCents(std::string_view text);

// `units` with `decimals` digits after the point: Fixed(-5, 2) is "-0.05".
std::string Fixed(int64_t units, int decimals);
inline std::string Money(int64_t cents) { return Fixed(cents, 2); }

// a + b, held at the ends of the range instead of overflowing.
int64_t SaturatingAdd(int64_t a, int64_t b);

// numerator / denominator rounded half away from zero; denominator > 0.
int64_t RoundedQuotient(int64_t numerator, int64_t denominator);

}  // namespace korvena::emu
