#pragma once
// How Tekstor names its files, and file names matched without regard to
// letter case, as the platform the templates come from does.
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

// The path when it exists; otherwise the existing path that differs from it
// only in letter case (a backslash counting as a separator); otherwise, when
// only the last component is new, the path with its directories matched.
std::string ResolveFileName(const std::string& path);

}  // namespace korvena::hypertext
