#pragma once
// kalibro-cli's own options, which stand before the command:
//   kalibro-cli [-c N] [-p PASSWORD | --password-file FILE] [--config FILE] [--json] COMMAND [ARGS]
#include <optional>
#include <string>
#include <vector>

namespace korvena::cli {

struct Invocation {
  std::optional<int> com;                   // -c N
  std::optional<std::string> password;      // -p PASSWORD
  std::optional<std::string> passwordFile;  // --password-file FILE
  std::optional<std::string> configFile;    // --config FILE, in place of KvorWxx.ini beside the program
  bool json = false;
  bool help = false;
  std::string command;  // "" when none was given
  std::vector<std::string> arguments;
};

// Fills `into` as far as the words go, so that a usage failure (thrown)
// still finds --json there when it was given.
void ParseCommandLine(const std::vector<std::string>& words, Invocation& into);

}  // namespace korvena::cli
