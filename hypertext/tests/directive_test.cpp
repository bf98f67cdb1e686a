// The directives: conditional symbols, nested conditions, constants.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "compile_helpers.h"

namespace korvena::hypertext {
namespace {

using testing::Bytes;
using testing::Compile;
using testing::Condensed;

struct DirectiveCase {
  const char* title;
  std::vector<std::string> lines;
  std::string diagnostics;  // condensed
  std::string htx;          // expected file when no error
};

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

class Directives : public ::testing::TestWithParam<DirectiveCase> {};

TEST_P(Directives, CompileAsExpected) {
  const DirectiveCase& d = GetParam();
  const auto c = Compile(Join(d.lines));
  EXPECT_EQ(Condensed(c.console), d.diagnostics);
  EXPECT_EQ(c.htx, d.htx);
}

std::string CaseName(const ::testing::TestParamInfo<DirectiveCase>& test) {
  std::string name;
  for (char c : std::string(test.param.title)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

std::string Summary(std::size_t lines) { return "ok(" + std::to_string(lines + 1) + ")"; }

INSTANTIATE_TEST_SUITE_P(
    Conditions, Directives,
    ::testing::Values(
        DirectiveCase{"ver40 is always defined", {"#ifdef ver40", "B, 1", "#endif"}, Summary(3),
                      Bytes({0xF9, 1, 0xFF})},
        DirectiveCase{"undef removes it", {"#undef ver40", "#ifdef ver40", "B, 1", "#endif"}, Summary(4),
                      Bytes({0xFF})},
        DirectiveCase{"define twice, undef once, undef unknown",
                      {"#define X", "#define X", "#undef X", "#undef Never", "#ifdef X", "B, 1", "#endif"},
                      Summary(7), Bytes({0xFF})},
        DirectiveCase{"else inverts, a second else inverts again",
                      {"#ifndef X", "B, 1", "#else", "B, 2", "#else", "B, 3", "#endif"}, Summary(7),
                      Bytes({0xF9, 1, 0xF9, 3, 0xFF})},
        DirectiveCase{"endif may name its block", {"#ifdef X", "#endif X", "R"}, Summary(3), Bytes({0xF7, 0xFF})},
        DirectiveCase{"else may not", {"#ifdef X", "#else X", "#endif"}, "2:E3^7", ""},
        DirectiveCase{"else without a block", {"R", "#else"}, "2:E21^6", ""},
        DirectiveCase{"endif without a block", {"#endif"}, "1:E21^7", ""},
        DirectiveCase{"block left open", {"#ifndef X", "R"}, "3:E22", ""},
        DirectiveCase{"nested blocks pair up inside a false one",
                      {"#ifdef NO", "#ifdef ver40", "B, 1", "#else", "B, 2", "#endif", "#define Y", "#const Z = 1",
                       "B, (", "L, 5", "#undef", "#endif", "#ifdef Y", "B, 3", "#endif", "B, 4"},
                      Summary(16), Bytes({0xF9, 4, 0xFF})},
        DirectiveCase{"a false block still holds only commands", {"#ifdef NO", "garbage", "#endif"}, "2:E2^7", ""},
        DirectiveCase{"a missing name opens no level",
                      {"#ifdef ver40", "#ifdef", "#endif", "#endif"},
                      "2:E6^7 4:E21^7", ""},
        DirectiveCase{"ifdef and ifndef need a name even in a false block",
                      {"#ifdef NO", "#ifndef 5", "#endif"}, "2:E6^9", ""},
        DirectiveCase{"define needs a name and nothing after it", {"#define B", "#define X junk"},
                      "1:E6^9 2:E3^14", ""},
        DirectiveCase{"symbols and identifiers are apart",
                      {"#define K", "#const K = 1", "B, K", "#ifdef K", "B, 2", "#endif", "#const C = 3", "B, C",
                       "#ifdef C", "B, 9", "#endif"},
                      Summary(11), Bytes({0xF9, 1, 0xF9, 2, 0xF9, 3, 0xFF})},
        DirectiveCase{"comments may follow", {"#define X ; why", "#ifdef X # why", "R", "#endif ;"}, Summary(4),
                      Bytes({0xF7, 0xFF})}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Constants, Directives,
    ::testing::Values(
        DirectiveCase{"redeclared constant", {"#const A = 5", "#const A = 6"}, "2:E9^8", ""},
        DirectiveCase{"fixed labels are in the table", {"#const DP_Text = 1"}, "1:E9^14", ""},
        DirectiveCase{"a user label is too", {"G, Here", "#const Here = 1"}, "2:E9^11", ""},
        DirectiveCase{"equals sign missing", {"#const A 5", "#const B1"}, "1:E26^10 2:E26^10", ""},
        DirectiveCase{"name missing", {"#const = 5", "#const 5 = 5"}, "1:E6^8 2:E6^8", ""},
        DirectiveCase{"a single number above 255", {"#const N = 300"}, "1:E1^14 1:E25^14", ""},
        DirectiveCase{"a value in error still enters the name",
                      {"#const N = 300", "B, N"}, "1:E1^14 1:E25^14", ""},
        DirectiveCase{"value must end the line", {"#const N = 1 2"}, "1:E25^14", ""},
        DirectiveCase{"text from a text constant",
                      {"#const T1 = \"AB\"", "#const T2 = T1 \"CD\"", "T, T2"}, Summary(3),
                      Bytes({0xF8, 4, 'A', 'B', 'C', 'D', 0xFF})},
        DirectiveCase{"a numeric constant starts an expression",
                      {"#const N = 2", "#const M = N \"x\""}, "2:E25^14", ""}),
    CaseName);

}  // namespace
}  // namespace korvena::hypertext
