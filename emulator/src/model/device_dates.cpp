#include "model/device_dates.h"

#include <chrono>
#include <cstdio>

#include "korvena/platform/decimal_text.h"

namespace korvena::emu {
namespace {

constexpr uint64_t kLastYear = 9999;

std::chrono::year_month_day Calendar(const LocalDate& date) {
  return {std::chrono::year(date.year), std::chrono::month(static_cast<unsigned>(date.month)),
          std::chrono::day(static_cast<unsigned>(date.day))};
}

}  // namespace

std::string FormatDate(const LocalDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.day, date.month, date.year);
  return text;
}

std::string TodayText() { return FormatDate(CurrentLocalDate()); }

std::optional<LocalDate> ParseDate(std::string_view text) {
  if (text.size() != 10 || text[2] != '.' || text[5] != '.') return std::nullopt;
  return DateFromFields(text.substr(0, 2), text.substr(3, 2), text.substr(6));
}

std::optional<LocalDate> DateFromFields(std::string_view day, std::string_view month, std::string_view year) {
  const auto d = DecimalDigits(day, 31);
  const auto m = DecimalDigits(month, 12);
  const auto y = DecimalDigits(year, kLastYear);
  if (!d || !m || !y) return std::nullopt;
  const LocalDate date{static_cast<int>(*y), static_cast<int>(*m), static_cast<int>(*d)};
  if (!Calendar(date).ok()) return std::nullopt;
  return date;
}

LocalDate NextDay(const LocalDate& date) {
  const std::chrono::year_month_day next{std::chrono::sys_days(Calendar(date)) + std::chrono::days(1)};
  return {static_cast<int>(next.year()), static_cast<int>(static_cast<unsigned>(next.month())),
          static_cast<int>(static_cast<unsigned>(next.day()))};
}

int64_t DateOrder(const LocalDate& date) {
  return static_cast<int64_t>(date.year) * 10000 + date.month * 100 + date.day;
}

}  // namespace korvena::emu
