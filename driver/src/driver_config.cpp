#include "korvena/driver/driver_config.h"

#include <algorithm>

#include "korvena/platform/decimal_text.h"
#include "korvena/platform/ini_profile.h"

namespace korvena::driver {
namespace {

constexpr int32_t kShortestTimeoutMs = 100;
constexpr int32_t kLongestTimeoutMs = 5000;

#if defined(_WIN32)
constexpr char kPathDelimiter = '\\';
bool IsPathDelimiter(char c) { return c == '\\' || c == '/'; }
#else
constexpr char kPathDelimiter = '/';
bool IsPathDelimiter(char c) { return c == '/'; }
#endif

bool IsOn(const IniProfile& ini, const char* key, int32_t fallback) {
  return ini.Int(kIniSection, key, fallback) == 1;
}

}  // namespace

int32_t ClampTimeout(int32_t ms) { return std::clamp(ms, kShortestTimeoutMs, kLongestTimeoutMs); }

DriverConfig ReadDriverConfig(const std::string& iniPath) {
  const IniProfile ini = IniProfile::Load(iniPath);
  DriverConfig config;
  config.debug = IsOn(ini, "Debug", 0);
  // Whole, not cut to 32 bits: a huge value must stay out of range instead of
  // wrapping into it.
  config.com = ini.Int64(kIniSection, "Com", 1);
  config.ldx = IsOn(ini, "Ldx", 0);
  config.dispE = IsOn(ini, "DispE", 1);
  config.iv = IsOn(ini, "IV", 0);
  config.crc = IsOn(ini, "CRC", 0);
  config.fileLD = ini.String(kIniSection, "FileLD", "");
  config.fileDir = ini.String(kIniSection, "FileDir", "");
  config.baudRate = ini.String(kIniSection, "BaudRate", "");
  config.timeoutMs = ClampTimeout(ini.Int(kIniSection, "Timeout", kShortestTimeoutMs));
  return config;
}

std::optional<int32_t> ParseBaudRate(std::string_view text) {
  const auto rate = DecimalDigits(text, INT32_MAX);
  if (!rate || *rate == 0) return std::nullopt;
  return static_cast<int32_t>(*rate);
}

std::string WithPathDelimiter(std::string dir) {
  if (!dir.empty() && !IsPathDelimiter(dir.back())) dir.push_back(kPathDelimiter);
  return dir;
}

}  // namespace korvena::driver
