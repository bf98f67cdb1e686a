#include "command_line.h"

#include <algorithm>

#include "argument_forms.h"
#include "cli_failure.h"

namespace korvena::cli {
namespace {

constexpr int kHighestCom = 20;
constexpr const char* kOptionsTaking[] = {"-c", "-p", "--password-file", "--config"};

bool TakesValue(const std::string& word) {
  return std::find(std::begin(kOptionsTaking), std::end(kOptionsTaking), word) != std::end(kOptionsTaking);
}

// The options end at the first word that is no option (or value of one).
std::size_t OptionsEnd(const std::vector<std::string>& words) {
  std::size_t i = 0;
  while (i < words.size() && !words[i].empty() && words[i].front() == '-') i += TakesValue(words[i]) ? 2 : 1;
  return std::min(i, words.size());
}

}  // namespace

void ParseCommandLine(const std::vector<std::string>& words, Invocation& into) {
  const std::size_t end = OptionsEnd(words);
  into.json = std::find(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(end), "--json") !=
              words.begin() + static_cast<std::ptrdiff_t>(end);
  for (std::size_t i = 0; i < end; ++i) {
    const std::string& word = words[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= words.size()) FailUsage(word + " needs a value");
      return words[++i];
    };
    if (word == "--json") {
      continue;
    } else if (word == "--help" || word == "-h") {
      into.help = true;
    } else if (word == "-c") {
      into.com = ParseWholeNumber(value(), 1, kHighestCom, "-c");
    } else if (word == "-p") {
      into.password = value();
      CheckPassword(*into.password, "-p");
    } else if (word == "--password-file") {
      into.passwordFile = value();
    } else if (word == "--config") {
      into.configFile = value();
    } else {
      FailUsage("unknown option \"" + word + "\"");
    }
  }
  if (into.password && into.passwordFile) FailUsage("give -p or --password-file, not both");
  if (end < words.size()) {
    into.command = words[end];
    into.arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(end) + 1, words.end());
  }
}

}  // namespace korvena::cli
