#pragma once
// The tekstor program: command line, banner and usage, reading the source
// file and writing the HTX file (never over the source itself). Its outcome
// shows only in what it prints and in whether the HTX file was written; it
// returns 0 on every path.
#include <ostream>
#include <string>
#include <vector>

namespace korvena::hypertext {

// `arguments` without the program name.
int RunTekstor(const std::vector<std::string>& arguments, std::ostream& console);

}  // namespace korvena::hypertext
