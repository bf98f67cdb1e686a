#pragma once
// The files the driver fills: written whole or not at all, so a failed write
// never leaves a half file where an application expects its data.
#include <string>
#include <string_view>

#include "korvena/platform/local_date.h"

namespace korvena::driver {

// Creates or replaces `path` with `data` (through a temporary file and a
// rename). False when any step failed; the old file is then unchanged.
bool WriteFileWhole(const std::string& path, std::string_view data);

// Appends `data` to `path`, creating it when missing. False when it failed.
bool AppendToFile(const std::string& path, std::string_view data);

// FileDir + YYYYMMDD + ".tx": the daily LDX file of `date`.
std::string DailyLdxFileName(const std::string& fileDir, const LocalDate& date);

}  // namespace korvena::driver
