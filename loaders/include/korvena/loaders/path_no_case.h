#pragma once
// Whole paths found without regard to letter case, as on the platform the
// loaders were made for. The loaders upper-case their arguments, so a file
// name given on the command line reaches them as "/HOME/TECH/MOJE.HTX".
#include <string>

namespace korvena::loaders {

// `path` with each component that does not exist as given replaced by the
// entry of its directory that matches it without regard to case; components
// without such an entry stay as given.
std::string ResolvePathNoCase(const std::string& path);

}  // namespace korvena::loaders
