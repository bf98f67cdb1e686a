#pragma once
// Names for the temporary files that whole files are written through.
#include <string>

namespace korvena {

// A hidden name in the folder of `target` that nobody can predict well
// enough to plant something there first. What makes the write safe is the
// exclusive create that follows; the name only keeps clashes rare.
std::string TemporaryNameBeside(const std::string& target);

// True when `name` (a bare file name) has the shape TemporaryNameBeside gives
// for a target whose bare name is `targetName`.
bool IsTemporaryNameOf(const std::string& name, const std::string& targetName);

}  // namespace korvena
