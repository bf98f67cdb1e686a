// Numeric expressions (32-bit, two levels of left-associative operators)
// and text lists.
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

struct ExpressionCase {
  const char* expression;
  int byte;  // low byte emitted by B, -1: refused
};

class Expressions : public ::testing::TestWithParam<ExpressionCase> {};

TEST_P(Expressions, EmitTheirLowByte) { EXPECT_EQ(ByteOf(GetParam().expression), GetParam().byte); }

INSTANTIATE_TEST_SUITE_P(
    Precedence, Expressions,
    ::testing::Values(ExpressionCase{"1 + 2 * 3", 7}, ExpressionCase{"(1 + 2) * 3", 9},
                      ExpressionCase{"2 * 3 + 4 * 5", 26}, ExpressionCase{"10 - 2 - 3", 5},
                      ExpressionCase{"100 / 10 / 5", 2}, ExpressionCase{"6 & 3 | 8", 10}, ExpressionCase{"1 | 2 ^ 3", 0},
                      ExpressionCase{"1 + 2 << 3", 17}, ExpressionCase{"((5))", 5},
                      // the sign opens the expression and covers the whole first term
                      ExpressionCase{"- 1 * 2", 254}, ExpressionCase{"-7 % 2", 255}, ExpressionCase{"+5", 5},
                      ExpressionCase{"-(1)", 255}, ExpressionCase{"7 / -2", -1}, ExpressionCase{"--1", -1}));

INSTANTIATE_TEST_SUITE_P(
    Operators, Expressions,
    ::testing::Values(ExpressionCase{"~0", 255}, ExpressionCase{"~1 + 1", 255}, ExpressionCase{"~~5", 5},
                      ExpressionCase{"1 << 33", 2}, ExpressionCase{"0x80 >> 1", 64},
                      ExpressionCase{"(0 - 1) >> 28", 15}, ExpressionCase{"(0 - 1) >> 32", 255},
                      ExpressionCase{"1 << 31 >> 31", 1}, ExpressionCase{"7 / (-2)", 253},
                      ExpressionCase{"7 % (-2)", 1}, ExpressionCase{"(-7) / 2", 253}, ExpressionCase{"(-7) % 2", 255},
                      ExpressionCase{"255 + 1", 0}, ExpressionCase{"200 * 200", 0x40}, ExpressionCase{"5 ^ 3", 6}));

INSTANTIATE_TEST_SUITE_P(Malformed, Expressions,
                         ::testing::Values(ExpressionCase{"1 +", -1}, ExpressionCase{"(1", -1},
                                           ExpressionCase{"1)", -1}, ExpressionCase{"()", -1},
                                           ExpressionCase{"1 2", -1}, ExpressionCase{"", -1},
                                           ExpressionCase{"1 , 2", -1}, ExpressionCase{"~", -1}));

TEST(Expressions, ErrorsPointAtTheTokenThatSpoilsTheExpression) {
  EXPECT_EQ(Condensed(Compile(Lines({"B, 7 / -2"})).console), "1:E25^8");
  EXPECT_EQ(Condensed(Compile(Lines({"B, (1 + 2"})).console), "1:E25^10");
  EXPECT_EQ(Condensed(Compile(Lines({"B, 1 + 2)"})).console), "1:E25^9");
}

TEST(Expressions, ConstantsGiveTheirLowByteButKeep32Bits) {
  const std::string n = Lines({"#const N = 150 * 2"});
  EXPECT_EQ(Compile(n + Lines({"B, N"})).htx, Bytes({0xF9, 44, 0xFF}));
  EXPECT_EQ(Compile(n + Lines({"B, N * 2"})).htx, Bytes({0xF9, 88, 0xFF}));
  EXPECT_EQ(TextOf("N", n), "300");
  EXPECT_EQ(TextOf("M", Lines({"#const M = 1 << 31"})), "-2147483648");
  EXPECT_EQ(TextOf("M", Lines({"#const M = 0 - 1"})), "-1");
  EXPECT_EQ(TextOf("\"\" (M)", Lines({"#const M = 0 - 1"})), "255");
}

TEST(Expressions, NamesMustBeNumericConstants) {
  EXPECT_EQ(Condensed(Compile(Lines({"B, Nowhere"})).console), "1:E12^10");
  EXPECT_EQ(Condensed(Compile(Lines({"B, DP_table"})).console), "1:E23^11");
  EXPECT_EQ(Condensed(Compile(Lines({"#const Tx = \"A\"", "B, Tx + 1"})).console), "2:E27^5");
  EXPECT_EQ(Condensed(Compile(Lines({"#const Tx = \"A\"", "#const N = 1 + Tx"})).console), "2:E27^17");
}

TEST(TextLists, JoinLiteralsNumbersAndParenthesisedExpressions) {
  EXPECT_EQ(TextOf("\"A\" 65 (64+1)"), "A6565");
  EXPECT_EQ(TextOf("\"A\"\"B\""), "AB");
  EXPECT_EQ(TextOf("\"\" (0x80 << 1) (~0)"), "0255");
  EXPECT_EQ(TextOf("\"x\" ;comment"), "x");
}

TEST(TextLists, JoinConstantsOfBothKinds) {
  const std::string constants = Lines({"#const T1 = \"AB\"", "#const T2 = T1 \"CD\"", "#const N = 7 * 6"});
  EXPECT_EQ(TextOf("T2 \" \" N \"/\" T1", constants), "ABCD 42/AB");
}

TEST(TextLists, EndOnlyAtTheEndOfTheLine) {
  EXPECT_EQ(Condensed(Compile(Lines({"T, \"A\" ,"})).console), "1:E25^8");
  EXPECT_EQ(Condensed(Compile(Lines({"T, \"A\" B"})).console), "1:E25^8");
  EXPECT_EQ(Condensed(Compile(Lines({"T, \"A\" Nowhere"})).console), "1:E12^14");
  EXPECT_EQ(Condensed(Compile(Lines({"T, \"A\" DP_S"})).console), "1:E23^11");
  EXPECT_EQ(Condensed(Compile(Lines({"T, \"A\" (1"})).console), "1:E25^10");
}

TEST(TextLists, TextMustStartWithALiteralOrAName) {
  EXPECT_EQ(Condensed(Compile(Lines({"T, 65"})).console), "1:E7^5");
  EXPECT_EQ(Condensed(Compile(Lines({"T, (1)"})).console), "1:E7^4");
  EXPECT_EQ(Condensed(Compile(Lines({"T,"})).console), "1:E7^3");
}

TEST(TextLists, ReadingAConstantCountsAsUsingIt) {
  const auto c = Compile(Lines({"#const A = 1", "#const B1 = A + 1", "T, B1", "#const C = \"c\"", "T, C"}));
  EXPECT_EQ(c.console, "T.DTX(6)\r\n\r\n");
}

}  // namespace
}  // namespace korvena::hypertext
