#pragma once
// How Tekstor names its files, and whether the name it would write is the
// source it read.
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

// True when writing the destination would replace the source: both names
// resolve to the same name, letter case aside, or lead to the same file on
// disk (through a hard or a symbolic link, too).
bool DestinationIsSource(const FileNames& names);

}  // namespace korvena::hypertext
