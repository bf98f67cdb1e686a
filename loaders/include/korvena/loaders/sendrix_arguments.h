#pragma once
// Sendrix's command line: SENDRIX -cx -hy [-vz].
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvena::loaders {

struct SendrixSettings {
  uint8_t port = 1;
  bool showOutput = true;
  std::string fileName = "korvena.htx";
};

// Shown for no arguments and for -C or -H without a usable value.
extern const char kSendrixUsage[];

// The settings, or nullopt when the usage is to be shown instead. Arguments
// are upper-cased, so the file name is too; unknown arguments are ignored.
std::optional<SendrixSettings> ParseSendrixArguments(const std::vector<std::string>& arguments);

}  // namespace korvena::loaders
