#pragma once
// Shared by the compiler tests: compile a source in memory and read the
// console text back in a compact form.
#include <initializer_list>
#include <string>
#include <string_view>

namespace korvena::hypertext::testing {

struct Compiled {
  std::string console;
  std::string htx;
  bool errors = true;
};

// Compiles under the name "T.DTX".
Compiled Compile(std::string_view source);

// Joins lines, each ended by CR LF, as sources are written.
std::string Lines(std::initializer_list<std::string_view> lines);

std::string Bytes(std::initializer_list<int> bytes);

// The console text condensed, one item per diagnostic, separated by spaces:
//   "3:E25^8"  line 3, Error 25, caret in column 8 ("3:W15" without caret)
//   "ok(4)"    summary line naming line 4
//   "W11(X)"   identifier warning 11 naming X; "E12(X)" the error form
std::string Condensed(const std::string& console);

// "B, <expression>" compiled; the emitted value or -1 when it did not compile.
int ByteOf(std::string_view expression);

// The text a T statement emits for a text list, or "<error>".
std::string TextOf(std::string_view list, std::string_view preamble = "");

}  // namespace korvena::hypertext::testing
