#pragma once
// The service password from a file, so that it stands in no command line
// (where every user's ps shows it): its first line, trailing CR, LF and
// blanks stripped. A file that others than its owner may read is refused,
// as the password would be theirs too.
#include <string>

namespace korvena::cli {

// A file failure (exit status 4) when the file cannot be read or is open to
// others; an invalid failure when its line is no password. Neither repeats
// what the file holds.
std::string ReadPasswordFile(const std::string& path);

}  // namespace korvena::cli
