// Inputs at and past the limits of the HTX format and of 32-bit arithmetic:
// each is refused with an error, never wrapped, and no file is written.
#include <gtest/gtest.h>

#include <sstream>

#include "compile_helpers.h"
#include "korvena/hypertext/compiler.h"
#include "korvena/hypertext/htx_format.h"

namespace korvena::hypertext {
namespace {

using testing::Bytes;
using testing::ByteOf;
using testing::Compile;
using testing::Condensed;
using testing::Lines;

// Constants Half (200 bytes), Full (255 bytes) and Short (247 bytes), built in pieces
// since a line holds at most 191 bytes.
std::string LongTexts() {
  return Lines({"#const Piece = \"" + std::string(150, 'a') + "\"", "#const Half = Piece \"" + std::string(50, 'a') + "\"",
                "#const Full = Half \"" + std::string(55, 'b') + "\"", "#const Short = Half \"" + std::string(47, 'c') + "\""});
}

TEST(SourceSize, LargestSourceIsAccepted) {
  std::string source(htx::kCapacity, ';');
  for (std::size_t i = 100; i < source.size(); i += 100) source.replace(i - 2, 2, "\r\n");
  const auto c = Compile(source);
  EXPECT_FALSE(c.errors) << c.console.substr(0, 200);
  EXPECT_EQ(c.htx, Bytes({0xFF}));
}

TEST(SourceSize, OneByteMoreIsRefusedBeforeCompiling) {
  const auto c = Compile(std::string(htx::kCapacity + 1, '\n'));
  EXPECT_EQ(c.console, "Source file too long.\r\n");
  EXPECT_TRUE(c.errors);
}

TEST(OutputSize, FileFillingTheBufferExactlyIsWritten) {
  std::string source = LongTexts();
  for (int i = 0; i < 254; ++i) source += "T, Full\r\n";
  source += "T, Short\r\n";
  const auto c = Compile(source);
  EXPECT_FALSE(c.errors) << c.console;
  EXPECT_EQ(c.htx.size(), htx::kCapacity);
}

TEST(OutputSize, OneByteMoreIsRefused) {
  std::string source = LongTexts();
  for (int i = 0; i < 254; ++i) source += "T, Full\r\n";
  source += "T, Short\r\nR\r\n";
  // The final label mark no longer fits.
  EXPECT_EQ(Condensed(Compile(source).console), "261:E29");
}

TEST(OutputSize, OverflowIsReportedOnceWhereItHappens) {
  std::string source = LongTexts();
  for (int i = 0; i < 300; ++i) source += "T, Full\r\n";
  const auto c = Compile(source);
  EXPECT_EQ(Condensed(c.console), "259:E29^8");
  EXPECT_EQ(c.htx, "");
}

TEST(TextLength, TextsUpTo255BytesAreWritten) {
  const auto c = Compile(LongTexts() + Lines({"T, Full", "T, Short"}));
  EXPECT_EQ(c.htx, Bytes({0xF8, 255}) + std::string(200, 'a') + std::string(55, 'b') + Bytes({0xF8, 247}) +
                       std::string(200, 'a') + std::string(47, 'c') + Bytes({0xFF}));
}

TEST(TextLength, LongerTextIsRefusedNotWrapped) {
  const auto c = Compile(LongTexts() + Lines({"T, Half Half ; 400 bytes", "T, Full \"x\""}));
  EXPECT_EQ(Condensed(c.console), "5:E30^14 6:E30^12");
  EXPECT_EQ(c.htx, "");
}

TEST(TextLength, ConstantsKeepTheFirst255Bytes) {
  const auto c = Compile(LongTexts() + Lines({"#const D = Half Half", "T, D"}));
  EXPECT_FALSE(c.errors) << c.console;
  EXPECT_EQ(c.htx.substr(0, 2), Bytes({0xF8, 255}));
  EXPECT_EQ(c.htx.substr(2, 255), std::string(200, 'a') + std::string(55, 'a'));
}

struct DivisionCase {
  const char* line;
  const char* diagnostics;
};

class Division : public ::testing::TestWithParam<DivisionCase> {};

TEST_P(Division, HasNoUndefinedResult) {
  const auto c = Compile(Lines({GetParam().line}));
  EXPECT_EQ(Condensed(c.console), GetParam().diagnostics);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, Division,
    ::testing::Values(DivisionCase{"B, 1 / 0", "1:E31^9"}, DivisionCase{"B, 1 % (2 - 2)", "1:E31^15"},
                      DivisionCase{"B, (1 << 31) / (0 - 1)", "1:E32^23"},
                      DivisionCase{"B, (1 << 31) / (0 - 1) * 0", "1:E32^24"},
                      DivisionCase{"#const N = 5 / 0", "1:E31^17"}, DivisionCase{"T, \"\" (1 / 0)", "1:E31^13"},
                      DivisionCase{"T, \"ok\" (0 % 0)", "1:E31^15"}));

TEST(Division, SmallestValueModuloMinusOneIsZero) {
  EXPECT_EQ(ByteOf("(1 << 31) % (0 - 1)"), 0);
  EXPECT_EQ(ByteOf("(1 << 31) / (0 - 2)"), 0);  // 0x40000000
  EXPECT_EQ(ByteOf("(1 << 31 | 5) / (0 - 1)"), 0xFB);
}

TEST(Arithmetic, WrapsAroundIn32Bits) {
  EXPECT_EQ(ByteOf("(0 - (1 << 31)) >> 31"), 1);
  EXPECT_EQ(ByteOf("((1 << 31) - 1 + 1) >> 31"), 1);
  EXPECT_EQ(ByteOf("(0x80 << 24) * 2"), 0);
}

TEST(TextLiteral, CutByTheEndOfTheSource) {
  EXPECT_EQ(Condensed(Compile("R\r\nT, \"AB").console), "3:E7");
  EXPECT_EQ(Condensed(Compile("R\r\nT, \"AB\\").console), "3:E7");
  EXPECT_EQ(Condensed(Compile("R\r\nT, \"AB\\x").console), "2:E5");
}

// `levels` nested conditions, the outermost `outer`, all others true.
std::string Nested(int levels, const char* outer, std::string_view inside) {
  std::string source = std::string(outer) + "\r\n";
  for (int i = 1; i < levels; ++i) source += "#ifdef ver40\r\n";
  source += std::string(inside) + "\r\n";
  for (int i = 0; i < levels; ++i) source += "#endif\r\n";
  return source + "B, 2\r\n";
}

TEST(Nesting, DeeperThanTenLevelsStillObeysEnclosingConditions) {
  EXPECT_EQ(Compile(Nested(12, "#ifdef NO", "B, 1")).htx, Bytes({0xF9, 2, 0xFF}));
  EXPECT_EQ(Compile(Nested(12, "#ifdef ver40", "B, 1")).htx, Bytes({0xF9, 1, 0xF9, 2, 0xFF}));
  EXPECT_EQ(Compile(Nested(2000, "#ifndef ver40", "B, 1")).htx, Bytes({0xF9, 2, 0xFF}));
}

TEST(Nesting, ElseWorksAtEveryDepth) {
  const auto c = Compile(Nested(15, "#ifdef ver40", "#else\r\nB, 1\r\n#else\r\nB, 3"));
  EXPECT_EQ(c.htx, Bytes({0xF9, 3, 0xF9, 2, 0xFF}));
}

TEST(Compiler, RunsTwiceInOneProcessWithTheSameResult) {
  const std::string source = LongTexts() + Lines({"T, Full", "G, Somewhere", "L, DP_table"});
  std::ostringstream first, second;
  const CompileResult a = CompileSource(source, "T.DTX", first);
  const CompileResult b = CompileSource(source, "T.DTX", second);
  EXPECT_EQ(first.str(), second.str());
  EXPECT_EQ(a.htx, b.htx);
  EXPECT_EQ(a.errors, b.errors);
}

}  // namespace
}  // namespace korvena::hypertext
