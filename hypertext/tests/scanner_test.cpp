// Tokens: numbers in their three bases, names and keywords, text literals
// with their escapes.
#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace korvena::hypertext {
namespace {

using testing::Bytes;
using testing::ByteOf;
using testing::Compile;
using testing::Condensed;
using testing::Lines;
using testing::TextOf;

struct NumberCase {
  const char* written;
  int value;  // -1: refused
};

class Numbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(Numbers, ReadInTheirBase) { EXPECT_EQ(ByteOf(GetParam().written), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Scanner, Numbers,
                         ::testing::Values(NumberCase{"255", 255}, NumberCase{"0xFF", 255}, NumberCase{"0377", 255},
                                           NumberCase{"0x0ff", 255}, NumberCase{"0X1a", 26}, NumberCase{"0", 0},
                                           NumberCase{"012", 10}, NumberCase{"0x000000F", 15},
                                           // a leading 0 takes its next digit as it stands
                                           NumberCase{"08", 8}, NumberCase{"0178", -1},
                                           NumberCase{"256", -1}, NumberCase{"0x100", -1}, NumberCase{"0400", -1},
                                           NumberCase{"00", -1}, NumberCase{"0x", -1}, NumberCase{"0xg", -1}));

struct DiagnosticCase {
  const char* line;
  const char* diagnostics;  // condensed, see compile_helpers.h
};

class ScannerDiagnostics : public ::testing::TestWithParam<DiagnosticCase> {};

TEST_P(ScannerDiagnostics, ReportedWhereTheTokenEnds) {
  EXPECT_EQ(Condensed(Compile(Lines({GetParam().line})).console), GetParam().diagnostics);
}

INSTANTIATE_TEST_SUITE_P(
    Scanner, ScannerDiagnostics,
    ::testing::Values(
        // a number above 255 is refused at the digit that passes it, and the
        // refused token then spoils the expression
        DiagnosticCase{"B, 256", "1:E1^6 1:E25^6"}, DiagnosticCase{"B, 0x100", "1:E1^8 1:E25^8"},
        DiagnosticCase{"256", "1:E1^3 1:E2^3"}, DiagnosticCase{"B, 00", "1:E25^5"},
        DiagnosticCase{"B, 0x", "1:E25^5"}, DiagnosticCase{"B, 0xg", "1:E25^5"},
        // names are case sensitive, keywords short
        DiagnosticCase{"b, 1", "1:E2^1"}, DiagnosticCase{"Mv, 1, 2, 3", "1:E2^2"},
        DiagnosticCase{"#Define X", "1:E2^7"}, DiagnosticCase{"#defineX", "1:E2^8"},
        DiagnosticCase{"#x", "1:E2^2"}, DiagnosticCase{"B, 1 < 2", "1:E25^6"},
        DiagnosticCase{"B, 1 > 2", "1:E25^6"}, DiagnosticCase{"B, 1 $ 2", "1:E25^6"},
        DiagnosticCase{"\"text\"", "1:E2^1"}, DiagnosticCase{"\vR", "1:E2^1"},
        // escapes
        DiagnosticCase{"T, \"\\q\"", "1:E19^6"}, DiagnosticCase{"T, \"\\400\"", "1:E1^8"},
        DiagnosticCase{"T, \"\\x\"", "1:E5^6"}, DiagnosticCase{"T, \"AB", "1:E7^7"},
        DiagnosticCase{"T, \"AB\\", "1:E19^8"}));

TEST(Scanner, LoneHashAndSemicolonStartComments) {
  const auto c = Compile(Lines({"# comment", "#", "#\tR", "; R", "R ; comment", "R # comment", "R;"}) + "#");
  EXPECT_EQ(c.console, "T.DTX(9)\r\n\r\n");
  EXPECT_EQ(c.htx, Bytes({0xF7, 0xF7, 0xF7, 0xFF}));
}

TEST(Scanner, OnlyTheFirst30CharactersOfANameCount) {
  const std::string name30 = "N23456789012345678901234567890";
  const auto redeclared = Compile(Lines({"#const " + name30 + "A = 1", "#const " + name30 + "B = 2"}));
  EXPECT_EQ(Condensed(redeclared.console), "2:E9^38");
  const auto used = Compile(Lines({"#const " + name30 + "A = 7", "B, " + name30 + "Whatever"}));
  EXPECT_EQ(used.htx, Bytes({0xF9, 7, 0xFF}));
}

TEST(Scanner, KeywordsNeedNoSpaceBeforeTheComma) {
  EXPECT_EQ(Compile(Lines({"B,1", "MV,1,2,3"})).htx, Bytes({0xF9, 1, 0xFA, 0xFD, 1, 2, 3, 0xFF}));
}

struct LiteralCase {
  std::string written;
  std::string bytes;
};

class TextLiterals : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(TextLiterals, GiveTheirBytes) { EXPECT_EQ(TextOf(GetParam().written), GetParam().bytes); }

INSTANTIATE_TEST_SUITE_P(
    Scanner, TextLiterals,
    ::testing::Values(LiteralCase{R"("\101")", "A"}, LiteralCase{R"("\1011")", "A1"}, LiteralCase{R"("\x41")", "A"},
                      LiteralCase{R"("\x041")", "\x04"
                                                "1"},
                      LiteralCase{R"("\012")", std::string("\0" "12", 3)}, LiteralCase{R"("\18")", "\x01" "8"},
                      LiteralCase{R"("\377")", "\xFF"}, LiteralCase{R"("\xA")", "\n"}, LiteralCase{R"("\xag")", "\ng"},
                      LiteralCase{R"("\"\'\?\\")", "\"'?\\"}, LiteralCase{R"("\a\b\f\n\r\t\v")", "\a\b\f\n\r\t\v"},
                      LiteralCase{"\"\tA\xC1\x8A\xFF\"", "\tA\xC1\x8A\xFF"}, LiteralCase{R"("")", ""},
                      LiteralCase{R"("; not a comment")", "; not a comment"}));

}  // namespace
}  // namespace korvena::hypertext
