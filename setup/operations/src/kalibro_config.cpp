#include "korvena/operations/kalibro_config.h"

#include <algorithm>

#include "korvena/platform/file_names.h"
#include "korvena/platform/ini_profile.h"
#include "korvena/platform/module_path.h"
#include "korvena/platform/settings_file.h"

namespace korvena::kalibro {
namespace {

constexpr const char* kSection = "Setting";
constexpr int32_t kShortestTimeout = 100;
constexpr int32_t kLongestTimeout = 5000;
constexpr int32_t kPortsOffered = 10;

}  // namespace

std::string ConfigFilePath() { return SettingsFilePath(DirectoryOf(ProgramPath()), "KvorWxx.ini"); }

KalibroConfig ReadKalibroConfig(const std::string& path) {
  const IniProfile ini = IniProfile::Load(path);
  KalibroConfig config;
  config.Com = ini.Int(kSection, "Com", config.Com);
  config.BaudRate = ini.Int(kSection, "BaudRate", config.BaudRate);
  config.Timeout = std::clamp(ini.Int(kSection, "Timeout", config.Timeout), kShortestTimeout, kLongestTimeout);
  return config;
}

int ComItemFor(int32_t com) { return com >= 1 && com <= kPortsOffered ? com - 1 : 0; }

}  // namespace korvena::kalibro
