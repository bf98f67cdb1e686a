#pragma once
// Names of the files the driver fills. The files themselves are written
// whole through korvena/platform/whole_files.h.
#include <string>

#include "korvena/platform/local_date.h"

namespace korvena::driver {

// FileDir + YYYYMMDD + ".tx": the daily LDX file of `date`.
std::string DailyLdxFileName(const std::string& fileDir, const LocalDate& date);

}  // namespace korvena::driver
