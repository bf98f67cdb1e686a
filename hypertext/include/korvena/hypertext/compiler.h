#pragma once
// Compiles one DTX source held in memory into HTX bytes, printing the
// diagnostics and the summary to `console`. Nothing here touches a file, so
// tests, the fuzzer and the benchmark run it directly and as often as they
// like.
#include <ostream>
#include <string>
#include <string_view>

namespace korvena::hypertext {

struct CompileResult {
  // An error was reported: the HTX file must not be written.
  bool errors = true;
  // The HTX file's bytes; empty when `errors` is set.
  std::string htx;
  // Line number reached at the end (the number of lines plus one when the
  // whole source was read).
  unsigned lineNumber = 0;
};

// `sourceName` is the name printed in diagnostics and in the summary line.
CompileResult CompileSource(std::string_view source, const std::string& sourceName, std::ostream& console);

}  // namespace korvena::hypertext
