#pragma once
// Today's date in local time.

namespace korvena {

struct LocalDate {
  int year = 0;   // four digits
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

LocalDate CurrentLocalDate();

}  // namespace korvena
