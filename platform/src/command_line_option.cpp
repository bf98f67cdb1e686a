#include "korvena/platform/command_line_option.h"

namespace korvena {

bool TakeCommandLineOption(const std::vector<std::string>& arguments, std::size_t& at,
                           const OptionValueName& valueName, CommandLineOption& option, std::string& error) {
  option = CommandLineOption{arguments[at], ""};
  const std::size_t eq = option.name.find('=');
  const bool inlineValue = eq != std::string::npos;
  if (inlineValue) {
    option.value = option.name.substr(eq + 1);
    option.name.resize(eq);
  }
  const std::optional<const char*> value = valueName(option.name);
  if (!value) {
    error = "unknown option " + arguments[at];
    return false;
  }
  if (*value != nullptr && !inlineValue) {
    if (at + 1 >= arguments.size()) {
      error = option.name + " needs a value " + *value;
      return false;
    }
    option.value = arguments[++at];
  }
  return true;
}

}  // namespace korvena
