// Each statement's encoding in the HTX file, and its syntax errors.
#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace korvena::hypertext {
namespace {

using testing::Bytes;
using testing::Compile;
using testing::Condensed;
using testing::Lines;

struct EncodingCase {
  const char* line;
  std::string bytes;        // the statement's bytes, before the final label mark
  const char* diagnostics;  // condensed warnings before the summary, "" for none
};

class Encoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(Encoding, EmitsExactBytes) {
  const auto c = Compile(Lines({GetParam().line}));
  EXPECT_EQ(c.htx, GetParam().bytes + Bytes({0xFF}));
  const std::string expected = std::string(GetParam().diagnostics);
  EXPECT_EQ(Condensed(c.console), expected.empty() ? "ok(2)" : expected + " ok(2)");
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Encoding,
    ::testing::Values(
        EncodingCase{"B, 255", Bytes({0xF9, 0xFF}), ""}, EncodingCase{"B, 0", Bytes({0xF9, 0x00}), ""},
        EncodingCase{"B, 1 ; comment", Bytes({0xF9, 1}), ""},
        EncodingCase{"G, DP_NCC", Bytes({0xFC, 25}), ""}, EncodingCase{"G, DP_table", Bytes({0xFC, 1}), ""},
        EncodingCase{"I, 3, DP_S", Bytes({0xFB, 3, 8, 0}), ""},
        EncodingCase{"I, 3, DP_S, 7", Bytes({0xFB, 3, 8, 7}), ""},
        EncodingCase{"I, 3, DP_S, 7, 8", Bytes({0xFB, 3, 8, 7}), ""},
        EncodingCase{"I, 255, DP_K, 1 + 1 ; comment", Bytes({0xFB, 255, 9, 2}), ""},
        EncodingCase{"I, 1, DP_C ;", Bytes({0xFB, 1, 11, 0}), ""},
        EncodingCase{"L, DP_table", Bytes({0xFF}), ""}, EncodingCase{"R", Bytes({0xF7}), ""},
        EncodingCase{"S, 1", Bytes({0xFE, 1, 0, 0}), ""}, EncodingCase{"S, 1, 2", Bytes({0xFE, 1, 2, 0}), ""},
        EncodingCase{"S, 1, 2, 3", Bytes({0xFE, 1, 2, 3}), ""},
        EncodingCase{"S, 1, 2, 3, 4", Bytes({0xFE, 1, 2, 3}), "1:W15^14"},
        EncodingCase{"S, 1, 2, 3, 4, 5", Bytes({0xFE, 1, 2, 3}), "1:W15^14 1:W15^17"},
        EncodingCase{"S, 0xF7, 0xFF, 0xFE;", Bytes({0xFE, 0xF7, 0xFF, 0xFE}), ""},
        EncodingCase{"T, \"AB\"", Bytes({0xF8, 2, 'A', 'B'}), ""}, EncodingCase{"T, \"\"", Bytes({0xF8, 0}), ""},
        EncodingCase{"T, \"\\xFF\\xF8\"", Bytes({0xF8, 2, 0xFF, 0xF8}), ""},
        EncodingCase{"V, 1, 2, 3", Bytes({0xFD, 1, 2, 3}), ""},
        EncodingCase{"V, 1+1, 2*2, 0x10 ; comment", Bytes({0xFD, 2, 4, 0x10}), ""},
        EncodingCase{"MV, 1, 2, 3", Bytes({0xFA, 0xFD, 1, 2, 3}), ""},
        EncodingCase{"  \tR", Bytes({0xF7}), ""}));

TEST(Statements, SectionWithTextAndReturn) {
  const auto c = Compile(Lines({"L, DP_table", "T, \"AB\"", "R"}));
  EXPECT_EQ(c.htx, Bytes({0xFF, 0xF8, 0x02, 0x41, 0x42, 0xF7, 0xFF}));
  EXPECT_EQ(c.console, "T.DTX(4)\r\n\r\n");
}

struct SyntaxCase {
  const char* line;
  const char* diagnostics;
};

class SyntaxErrors : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(SyntaxErrors, ReportedAndNoFile) {
  const auto c = Compile(Lines({GetParam().line, "R"}));
  EXPECT_EQ(Condensed(c.console), GetParam().diagnostics);
  EXPECT_TRUE(c.errors);
  EXPECT_EQ(c.htx, "");
}

INSTANTIATE_TEST_SUITE_P(
    Statements, SyntaxErrors,
    ::testing::Values(SyntaxCase{"B 1", "1:E4^3"}, SyntaxCase{"B", "1:E4^2"}, SyntaxCase{"B, 1, 2", "1:E25^5"},
                      SyntaxCase{"G, 5", "1:E6^4"}, SyntaxCase{"G, Lbl x", "1:E3^8"}, SyntaxCase{"G DP_S", "1:E4^6"},
                      SyntaxCase{"I, 0, DP_S", "1:E17^5"}, SyntaxCase{"I, 0x80 << 1, DP_S", "1:E17^13"},
                      SyntaxCase{"I, 3 DP_S", "1:E25^9"}, SyntaxCase{"I, 3, 4", "1:E6^7"},
                      SyntaxCase{"I, 3, DP_S 7", "1:E3^12"}, SyntaxCase{"I, 3, DP_S, 7 8", "1:E25^15"},
                      SyntaxCase{"L DP_table", "1:E4^10"}, SyntaxCase{"L, 1", "1:E6^4"},
                      SyntaxCase{"L, DP_table x", "1:E3^13"}, SyntaxCase{"R 1", "1:E3^3"},
                      SyntaxCase{"R, 1", "1:E3^2"}, SyntaxCase{"S, 1 2", "1:E25^6"}, SyntaxCase{"S", "1:E4^2"},
                      SyntaxCase{"T \"A\"", "1:E4^3"}, SyntaxCase{"V, 1, 2", "1:E25^8"},
                      SyntaxCase{"V, 1, 2, 3, 4", "1:E25^11"}, SyntaxCase{"V, 1; 2, 3", "1:E25^5"},
                      SyntaxCase{"MV 1, 2, 3", "1:E4^4"}, SyntaxCase{"5", "1:E2^1"},
                      SyntaxCase{", R", "1:E2^1"}, SyntaxCase{"=", "1:E2^1"}));

}  // namespace
}  // namespace korvena::hypertext
