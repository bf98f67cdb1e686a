#pragma once
// Brennix's settings: the configuration file "KvorWxx.ini" beside the
// program, then the command line BRENNIX -cx [-vz] [-r].
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvena::loaders {

inline constexpr char kBrennixIniName[] = "KvorWxx.ini";

struct BrennixSettings {
  uint8_t port = 0;  // 0: none
  bool showMessages = true;
  bool restart = false;
};

extern const char kBrennixUsage[];

// The settings, or nullopt when the usage is to be shown instead: a
// "BaudRate" that is no decimal number, -C without a usable number, or no
// port number in the end. A missing file or key leaves the defaults.
std::optional<BrennixSettings> ReadBrennixSettings(const std::string& iniPath, const std::vector<std::string>& arguments);

}  // namespace korvena::loaders
