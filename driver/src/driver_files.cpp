#include "korvena/driver/driver_files.h"

#include <cstdio>

namespace korvena::driver {

std::string DailyLdxFileName(const std::string& fileDir, const LocalDate& date) {
  char name[32];
  std::snprintf(name, sizeof name, "%04d%02d%02d.tx", date.year % 10000, date.month % 100, date.day % 100);
  return fileDir + name;
}

}  // namespace korvena::driver
