#pragma once
// What "kalibro-cli --help" and "kalibro-cli COMMAND --help" print.
#include <string>

#include "cli_command.h"

namespace korvena::cli {

std::string ProgramHelp();
std::string CommandHelp(const Command& command);

}  // namespace korvena::cli
