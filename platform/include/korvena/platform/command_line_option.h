#pragma once
// One option of a program's command line, "--name value" or "--name=value",
// for the programs that read their options from a table of their own.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvena {

struct CommandLineOption {
  std::string name;   // "--baud"
  std::string value;  // empty for a switch
};

// What a program's table says of an option name: nothing when it has no such
// option, else the name of its value, or nullptr for a switch.
using OptionValueName = std::function<std::optional<const char*>(const std::string& name)>;

// The option at arguments[at]; `at` moves past a value given as the next
// argument. False, with `error` set, for an unknown option or a missing value.
bool TakeCommandLineOption(const std::vector<std::string>& arguments, std::size_t& at,
                           const OptionValueName& valueName, CommandLineOption& option, std::string& error);

}  // namespace korvena
