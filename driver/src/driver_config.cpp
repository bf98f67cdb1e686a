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

bool IsOn(const std::string& ini, const char* key, int32_t fallback) {
  return ReadProfileInt(ini, kIniSection, key, fallback) == 1;
}

// The COM number as the file writes it, without the profile reader's cut to
// 32 bits: a huge value must stay out of range instead of wrapping into it.
// Like the profile reader, a value without digits reads as 0.
int64_t ReadComNumber(const std::string& ini) {
  const auto value = ReadProfileValue(ini, kIniSection, "Com");
  if (!value) return 1;
  std::size_t i = 0;
  bool negative = false;
  if (i < value->size() && ((*value)[i] == '-' || (*value)[i] == '+')) negative = (*value)[i++] == '-';
  int64_t number = 0;
  for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i)
    number = std::min<int64_t>(number * 10 + ((*value)[i] - '0'), int64_t{1} << 40);
  return negative ? -number : number;
}

}  // namespace

int32_t ClampTimeout(int32_t ms) { return std::clamp(ms, kShortestTimeoutMs, kLongestTimeoutMs); }

DriverConfig ReadDriverConfig(const std::string& iniPath) {
  DriverConfig config;
  config.debug = IsOn(iniPath, "Debug", 0);
  config.com = ReadComNumber(iniPath);
  config.ldx = IsOn(iniPath, "Ldx", 0);
  config.dispE = IsOn(iniPath, "DispE", 1);
  config.iv = IsOn(iniPath, "IV", 0);
  config.crc = IsOn(iniPath, "CRC", 0);
  config.fileLD = ReadProfileString(iniPath, kIniSection, "FileLD", "");
  config.fileDir = ReadProfileString(iniPath, kIniSection, "FileDir", "");
  config.baudRate = ReadProfileString(iniPath, kIniSection, "BaudRate", "");
  config.timeoutMs = ClampTimeout(ReadProfileInt(iniPath, kIniSection, "Timeout", kShortestTimeoutMs));
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
