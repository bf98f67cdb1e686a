#include "korvena/service/iso_dates.h"

#include <string>

#include "korvena/operations/invalid_input.h"

namespace korvena::service {
namespace {

using operations::FailInvalidInput;

// The number in text[from, from + count), or -1 unless all digits.
int Digits(std::string_view text, std::size_t from, std::size_t count) {
  int value = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool IsCalendarDay(const LocalDate& date) {
  constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
  return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= kDays[date.month - 1] &&
         !(date.month == 2 && date.day == 29 && !leap);
}

}  // namespace

LocalDate IsoDate(std::string_view text, std::string_view what) {
  const LocalDate date{Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2)};
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' || date.year < 0 || date.month < 0 || date.day < 0)
    FailInvalidInput(std::string(what) + " must be a date as YYYY-MM-DD, not \"" + std::string(text) + "\"");
  if (!IsCalendarDay(date)) FailInvalidInput(std::string(what) + ": there is no day " + std::string(text));
  return date;
}

LocalDateTime IsoDateTime(std::string_view text, std::string_view what) {
  const auto fail = [&] {
    FailInvalidInput(std::string(what) + " must be a local time as YYYY-MM-DDThh:mm or YYYY-MM-DDThh:mm:ss, not \"" +
                     std::string(text) + "\"");
  };
  if ((text.size() != 16 && text.size() != 19) || text[10] != 'T' || text[13] != ':') fail();
  if (text.size() == 19 && text[16] != ':') fail();
  LocalDateTime moment;
  moment.date = IsoDate(text.substr(0, 10), what);
  moment.hour = Digits(text, 11, 2);
  moment.minute = Digits(text, 14, 2);
  moment.second = text.size() == 19 ? Digits(text, 17, 2) : 0;
  if (moment.hour < 0 || moment.hour > 23 || moment.minute < 0 || moment.minute > 59 || moment.second < 0 ||
      moment.second > 59)
    fail();
  return moment;
}

}  // namespace korvena::service
