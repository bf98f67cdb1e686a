#pragma once
// The configuration file "KVORWXX.INI", section "Setting", as StartLibProc
// reads it, and the rules for the texts StartLibProcEx is given.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvena::driver {

inline constexpr const char* kIniFileName = "KVORWXX.INI";
inline constexpr const char* kIniSection = "Setting";

// A start text is taken whole up to the longest path the platform opens
// (MAX_PATH there, PATH_MAX here, each less its terminating zero); a longer
// one would be cut into the name of another file, so the start refuses it.
#if defined(_WIN32)
inline constexpr std::size_t kLongestStartText = 260 - 1;
#else
inline constexpr std::size_t kLongestStartText = PATH_MAX - 1;
#endif

struct DriverConfig {
  bool debug = false;
  int64_t com = 1;  // may lie outside 0..255: the start then refuses it
  bool ldx = false;
  bool dispE = true;
  bool iv = false;
  bool crc = false;
  std::string fileLD;
  std::string fileDir;
  std::string baudRate;
  int32_t timeoutMs = 100;  // already clamped to 100..5000
};

// The file's settings; the defaults for whatever is missing or unreadable.
DriverConfig ReadDriverConfig(const std::string& iniPath);

int32_t ClampTimeout(int32_t ms);

// A baud rate text as decimal digits with a value from 1 to 2^31-1; nullopt
// for anything else, which the start treats like an empty text (9600).
std::optional<int32_t> ParseBaudRate(std::string_view text);

// `dir` with the platform's path delimiter appended when it lacks one.
std::string WithPathDelimiter(std::string dir);

}  // namespace korvena::driver
