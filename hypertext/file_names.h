#pragma once
// How Tekstor names its files.
#include <string>
#include <vector>

namespace korvena::hypertext {

struct FileNames {
  std::string source;
  std::string destination;
};

// From the command line arguments (the program name not included, at least
// one argument): the source gets ".DTX" when it has no dot at all; the
// destination is the second argument or the source up to its first dot, and
// gets ".HTX" when it has no dot.
FileNames DeriveFileNames(const std::vector<std::string>& arguments);

}  // namespace korvena::hypertext
