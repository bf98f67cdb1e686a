#pragma once
// Prints an HTX file as its instruction stream, one instruction a line in
// the statement syntax it was compiled from, so a template author can see
// what a source became.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace korvena::hypertext {

// Returns 0 for a well-formed file, 1 when the stream is malformed (the
// instructions before the fault are printed, then the fault).
int DumpHtx(std::string_view bytes, const std::string& name, std::ostream& out);

// The htxdump program; `arguments` without the program name.
int RunHtxDump(const std::vector<std::string>& arguments, std::ostream& out);

}  // namespace korvena::hypertext
