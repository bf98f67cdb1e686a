#pragma once
// Today's date, and the time of day, in local time.

namespace korvena {

struct LocalDate {
  int year = 0;   // four digits
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

struct LocalDateTime {
  LocalDate date;
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59 (60 in a leap second)
};

LocalDate CurrentLocalDate();
LocalDateTime CurrentLocalDateTime();

}  // namespace korvena
