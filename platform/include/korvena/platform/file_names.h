#pragma once
// File names as the target platform treats them: when a name does not exist
// exactly as given, a file whose name differs only in letter case is taken.
#include <cstdio>
#include <string>

namespace korvena {

bool EqualsIgnoringCase(const std::string& a, const std::string& b);

// `path` when it exists; otherwise the existing entry of its directory whose
// name matches the last component without regard to case; otherwise `path`
// unchanged (so a new file is created under the name given).
std::string ResolveFileName(const std::string& path);

// fopen through ResolveFileName.
FILE* OpenFileNoCase(const std::string& path, const char* mode);

// The directory part of a path including its final '/', or "" when none.
std::string DirectoryOf(const std::string& path);

}  // namespace korvena
