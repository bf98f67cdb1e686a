#pragma once
// Where a program of the suite finds its settings file: beside its own file
// as on Windows, and on Linux, when there is none, in the system's folder
// for settings, where a package keeps an administered copy.
#include <string>

namespace korvena {

#if defined(_WIN32)
inline constexpr const char* kSystemSettingsFolder = "";
#else
inline constexpr const char* kSystemSettingsFolder = "/etc/korvena/";
#endif

// `name` in `besideFolder` (which ends with a delimiter or is empty) when it
// exists there in any letter case; else the one in `systemFolder` when that
// exists; else the name beside, so that a file written later lies where the
// program has always looked first. Names are matched without regard to case.
std::string SettingsFilePath(const std::string& besideFolder, const std::string& name,
                             const std::string& systemFolder = kSystemSettingsFolder);

}  // namespace korvena
