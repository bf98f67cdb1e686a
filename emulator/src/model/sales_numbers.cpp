#include "model/sales_numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "korvena/platform/decimal_text.h"

namespace korvena::emu {

// from_chars, not strtod: a program that embeds the device (the service
// program is a Qt application) sets the process locale from the environment,
// and in a decimal-comma locale strtod would read "2.50" as 2.
std::optional<double> ParseNumber(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  auto format = std::chars_format::general;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    format = std::chars_format::hex;
    text.remove_prefix(2);
  }
  // from_chars takes a minus sign of its own, which would make "--1" a number.
  if (text.empty() || text.front() == '-') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, format);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::optional<int64_t> Decimal(std::string_view text, double scale) {
  const auto value = ParseNumber(text);
  if (!value || !std::isfinite(*value) || std::fabs(*value) > kLargestNumber) return std::nullopt;
  return std::llround(*value * scale);
}

std::optional<int64_t> Whole(std::string_view text, int64_t lowest, int64_t highest) {
  const auto value = DecimalDigits(text, static_cast<uint64_t>(highest));
  if (!value || static_cast<int64_t>(*value) < lowest) return std::nullopt;
  return static_cast<int64_t>(*value);
}

std::optional<int64_t> ParseCents(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (fraction.size() > 2 || (point != std::string_view::npos && fraction.empty())) return std::nullopt;
  const auto units = DecimalDigits(whole, INT64_MAX / 100 - 1);
  const auto cents = fraction.empty() ? std::optional<uint64_t>(0) : DecimalDigits(fraction, 99);
  if (!units || !cents) return std::nullopt;
  const auto value = static_cast<int64_t>(*units * 100 + *cents * (fraction.size() == 1 ? 10 : 1));
  return negative ? -value : value;
}

std::string Fixed(int64_t units, int decimals) {
  int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  char text[48];
  std::snprintf(text, sizeof text, "%s%llu.%0*llu", units < 0 ? "-" : "",
                static_cast<unsigned long long>(magnitude / static_cast<uint64_t>(scale)), decimals,
                static_cast<unsigned long long>(magnitude % static_cast<uint64_t>(scale)));
  return text;
}

int64_t SaturatingAdd(int64_t a, int64_t b) {
  int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return b > 0 ? INT64_MAX : INT64_MIN;
  return sum;
}

int64_t RoundedQuotient(int64_t numerator, int64_t denominator) {
  const int64_t half = denominator / 2;
  return numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
}

}  // namespace korvena::emu
