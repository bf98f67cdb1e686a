#pragma once
// File names as the target platform treats them: when a name does not exist
// exactly as given, a file whose name differs only in letter case is taken.
#include <cstdio>
#include <string>
#include <string_view>

namespace korvena {

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// `path` when it exists as given. Otherwise each component in turn is matched
// against its directory without regard to case ('\\' separating folders as
// '/' does); components that match nothing stay as given, so a new file is
// created under the name given in the folder that was found.
std::string ResolveFileName(const std::string& path);

// True when both paths exist and name one file, through links too.
bool IsSameFile(const std::string& a, const std::string& b);

// fopen through ResolveFileName.
FILE* OpenFileNoCase(const std::string& path, const char* mode);

// The directory part of a path including its final '/' (or '\\'), or ""
// when none.
std::string DirectoryOf(const std::string& path);

// True for a path that does not depend on the current directory: "/..." and,
// on Windows, "C:..." and "\\..." as well.
bool IsAbsolutePath(const std::string& path);

}  // namespace korvena
