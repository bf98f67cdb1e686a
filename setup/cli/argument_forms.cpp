#include "argument_forms.h"

#include <algorithm>
#include <charconv>

#include "cli_failure.h"
#include "korvena/operations/amount_field.h"

namespace korvena::cli {
namespace {

constexpr int kFirstYear = 1996;
constexpr int kLastYear = 2099;
constexpr std::size_t kLongestPassword = 11;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A field of one or two digits (four for a year), or -1.
int Field(std::string_view text, std::size_t shortest, std::size_t longest) {
  if (text.size() < shortest || text.size() > longest || !AllDigits(text)) return -1;
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

int DaysIn(int month, int year) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// `text` split at `separator` into exactly `count` parts, else empty.
std::vector<std::string_view> Split(std::string_view text, char separator, std::size_t count) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (parts.size() != count) parts.clear();
  return parts;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

int ParseWholeNumber(std::string_view text, int lowest, int highest, std::string_view what) {
  int value = 0;
  const bool digits = AllDigits(text) && text.size() <= 9;
  if (digits) std::from_chars(text.data(), text.data() + text.size(), value);
  if (!digits || value < lowest || value > highest)
    FailInvalid(std::string(what) + " must be a whole number from " + std::to_string(lowest) + " to " +
                std::to_string(highest) + ", not " + Quoted(text));
  return value;
}

bool ValidDate(const LocalDate& date) {
  return date.year >= kFirstYear && date.year <= kLastYear && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
         date.day <= DaysIn(date.month, date.year);
}

LocalDate ParseDate(std::string_view text, std::string_view what) {
  const std::vector<std::string_view> parts = Split(text, '.', 3);
  LocalDate date;
  if (!parts.empty()) date = {Field(parts[2], 4, 4), Field(parts[1], 1, 2), Field(parts[0], 1, 2)};
  if (parts.empty() || !ValidDate(date))
    FailInvalid(std::string(what) + " must be a date dd.mm.yyyy from " + std::to_string(kFirstYear) + " to " +
                std::to_string(kLastYear) + ", not " + Quoted(text));
  return date;
}

operations::DateTime ParseDateTime(std::string_view text, std::string_view what) {
  const std::size_t blank = text.find(' ');
  const std::string_view time = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
  std::vector<std::string_view> parts = Split(time, ':', 3);
  if (parts.empty()) parts = Split(time, ':', 2);
  operations::DateTime moment;
  moment.hour = parts.empty() ? -1 : Field(parts[0], 1, 2);
  moment.minute = parts.empty() ? -1 : Field(parts[1], 2, 2);
  moment.second = parts.size() < 3 ? 0 : Field(parts[2], 2, 2);
  if (moment.hour < 0 || moment.hour > 23 || moment.minute < 0 || moment.minute > 59 || moment.second < 0 ||
      moment.second > 59)
    FailInvalid(std::string(what) + " must be a date and time \"dd.mm.yyyy hh:mm:ss\", not " + Quoted(text));
  moment.date = ParseDate(text.substr(0, blank), what);
  return moment;
}

int64_t ParseAmount(std::string_view text, int decimals, std::string_view what) {
  return AsUsageFailure([&] { return operations::ParseAmount(text, decimals, what); });
}

std::string AmountText(int64_t units, int decimals) { return operations::AmountText(units, decimals); }

std::string MoneyText(int64_t cents) { return operations::MoneyText(cents); }

bool IsPlainDecimal(std::string_view text, std::size_t longest) {
  if (text.empty() || text.size() > longest || std::count(text.begin(), text.end(), '.') > 1) return false;
  return std::all_of(text.begin(), text.end(), [](char c) { return c == '.' || (c >= '0' && c <= '9'); }) &&
         text != ".";
}

void CheckPassword(std::string_view text, std::string_view what) {
  if (!AllDigits(text) || text.size() > kLongestPassword)
    FailInvalid(std::string(what) + " must be 1 to " + std::to_string(kLongestPassword) + " digits");
}

}  // namespace korvena::cli
