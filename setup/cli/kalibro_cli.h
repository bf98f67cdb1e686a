#pragma once
// kalibro-cli from its words to its exit status: the options, the command's
// plan (every argument and file checked), the device found and logged in
// to when the command needs it, the command run, its result or failure
// printed. No exception leaves it.
#include <ostream>
#include <string>
#include <vector>

namespace korvena::cli {

// `words` are the arguments after the program's name.
int RunKalibroCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace korvena::cli
