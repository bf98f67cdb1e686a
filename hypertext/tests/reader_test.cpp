// Reading the source line by line, and the diagnostics that echo it.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "compile_helpers.h"
#include "messages.h"
#include "reader.h"

namespace korvena::hypertext {
namespace {

using testing::Bytes;
using testing::Compile;
using testing::Condensed;
using testing::Lines;

// Authors and their tools know these texts by heart, misspellings included.
TEST(Messages, KeepTheirNumbersAndTexts) {
  const char* const texts[] = {"Number too long.",
                               "Unknown command.",
                               "End of line expected.",
                               "Comma expected.",
                               "Number expected.",
                               "Identifier expected.",
                               "Text must be between quotas.",
                               "Wrong fixed label identifier.",
                               "Redeclare identifier.",
                               "Too many identifiers.",
                               "Identifier not used.",
                               "Unknown identifier.",
                               "Can not open source file.",
                               "Can not create destination file.",
                               "HTX variable extra parameter.",
                               "HTX variable parameter missing.",
                               "HTX variable index out of range.",
                               "Line too long.",
                               "Wrong text escape sequence.",
                               "Too many conditional symbols.",
                               "Misplaced coditional directive.",
                               "ENDIF directive missing.",
                               "Const identifier expected.",
                               "Label identifier expected.",
                               "Error in expression.",
                               "\"=\" expected.",
                               "Type mismatch.",
                               "Source file too long.",
                               "HTX file too long.",
                               "Text too long.",
                               "Division by zero.",
                               "Division overflow."};
  ASSERT_EQ(std::size(texts), static_cast<std::size_t>(kMessageCount));
  for (int number = 1; number <= kMessageCount; ++number)
    EXPECT_EQ(MessageText(static_cast<Message>(number)), texts[number - 1]) << number;
}

TEST(SourceReader, HandsOutLinesAndPeeksAcrossThem) {
  std::ostringstream console;
  SourceReader reader("AB\r\nC", "T.DTX", console);
  EXPECT_EQ(reader.PeekChar(), 'A');
  EXPECT_EQ(reader.LineNumber(), 0u);
  EXPECT_EQ(reader.NextChar(), 'A');
  EXPECT_EQ(reader.LineNumber(), 1u);
  EXPECT_EQ(reader.Column(), 1u);
  EXPECT_EQ(reader.NextChar(), 'B');
  EXPECT_EQ(reader.NextChar(), '\r');
  EXPECT_EQ(reader.NextChar(), '\n');
  EXPECT_EQ(reader.Column(), 0u);
  EXPECT_EQ(reader.PeekChar(), 'C');
  EXPECT_EQ(reader.LineNumber(), 1u) << "peeking starts no line";
  EXPECT_EQ(reader.NextChar(), 'C');
  EXPECT_EQ(reader.LineNumber(), 2u);
  EXPECT_EQ(reader.PeekChar(), 0);
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.NextChar(), 0);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.LineNumber(), 3u);
  EXPECT_EQ(reader.NextChar(), 0);
  EXPECT_EQ(reader.LineNumber(), 3u) << "the end is counted once";
  EXPECT_EQ(console.str(), "");
}

TEST(SourceReader, ZeroByteInsideTheSourceIsNotTheEnd) {
  std::ostringstream console;
  SourceReader reader(std::string_view("A\0B", 3), "T.DTX", console);
  EXPECT_EQ(reader.NextChar(), 'A');
  EXPECT_EQ(reader.NextChar(), 0);
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.NextChar(), 'B');
}

TEST(Diagnostics, LineDiagnosticEchoesTheLineAndPutsTheCaretUnderTheLastCharacterRead) {
  const auto c = Compile(Lines({"L, DP_table", "\tB, 1 +", "R"}));
  EXPECT_EQ(c.console,
            "T.DTX(2): Error 25: Error in expression.\r\n"
            "\tB, 1 +\r\n"
            "\t      ^\r\n");
  EXPECT_TRUE(c.errors);
  EXPECT_EQ(c.htx, "");
}

TEST(Diagnostics, TabsInTheLineAreKeptInTheCaretLine) {
  const auto c = Compile(Lines({"\tB,\t\t300"}));
  EXPECT_EQ(c.console,
            "T.DTX(1): Error 1: Number too long.\r\n"
            "\tB,\t\t300\r\n"
            "\t  \t\t  ^\r\n"
            "T.DTX(1): Error 25: Error in expression.\r\n"
            "\tB,\t\t300\r\n"
            "\t  \t\t  ^\r\n");
}

TEST(Diagnostics, ErrorAtTheEndOfTheSourceShowsNoLineAndNoCaret) {
  const auto c = Compile(Lines({"#ifdef ver40", "R"}));
  EXPECT_EQ(c.console, "T.DTX(3): Error 22: ENDIF directive missing.\r\n");
}

TEST(Diagnostics, EchoOfALastLineWithoutLineEndIsEndedAllTheSame) {
  EXPECT_EQ(Compile("R\r\nR x").console,
            "T.DTX(2): Error 3: End of line expected.\r\n"
            "R x\r\n");
  EXPECT_EQ(Compile("R\r\nR x y").console,
            "T.DTX(2): Error 3: End of line expected.\r\n"
            "R x y\r\n"
            "  ^\r\n");
}

TEST(Diagnostics, ErrorSkipsOnlyItsOwnLine) {
  // Each line holds one fault; none may hide the next line's.
  const auto c = Compile(Lines({"B, 1 +", "X", "V, 1 2, 3, 4", "S, 1,", "q", "R"}));
  EXPECT_EQ(Condensed(c.console), "1:E25^7 2:E2^1 3:E25^6 4:E25^6 5:E2^1");
}

TEST(Diagnostics, WarningsAloneStillGiveTheSummaryAndTheFile) {
  const auto c = Compile(Lines({"#const Unused = 1", "S, 1, 2, 3, 4"}));
  EXPECT_EQ(c.console,
            "T.DTX(2): Warning 15: HTX variable extra parameter.\r\n"
            "S, 1, 2, 3, 4\r\n"
            "             ^\r\n"
            "T.DTX(3)\r\n"
            "\r\n"
            "T.DTX: Warning 11: Identifier not used. (Unused)\r\n");
  EXPECT_FALSE(c.errors);
  EXPECT_EQ(c.htx, Bytes({0xFE, 1, 2, 3, 0xFF}));
}

TEST(LineReading, EmptySourceGivesTheFinalLabelMarkOnly) {
  const auto c = Compile("");
  EXPECT_EQ(c.console, "T.DTX(1)\r\n\r\n");
  EXPECT_EQ(c.htx, Bytes({0xFF}));
}

TEST(LineReading, SummaryCountsTheLinesPlusTheReadThatFoundTheEnd) {
  EXPECT_EQ(Compile(Lines({"R", "R", "R"})).console, "T.DTX(4)\r\n\r\n");
  EXPECT_EQ(Compile("R\r\nR\r\n\r\n").console, "T.DTX(4)\r\n\r\n");
}

// A line of `length` bytes including its CR LF: T with a text filling it.
std::string LineOfLength(std::size_t length) {
  return "T, \"" + std::string(length - 7, 'A') + "\"\r\n";
}

TEST(LineReading, LineOf191BytesIsAccepted) {
  const std::string line = LineOfLength(191);
  ASSERT_EQ(line.size(), 191u);
  const auto c = Compile(line + "R\r\n");
  EXPECT_FALSE(c.errors) << c.console;
  EXPECT_EQ(c.htx, Bytes({0xF8, 184}) + std::string(184, 'A') + Bytes({0xF7, 0xFF}));
}

TEST(LineReading, LineOf192BytesIsTooLongAndEndsTheCompilation) {
  const std::string line = LineOfLength(192);
  // Nothing after the long line is read: the unknown command goes unseen.
  const auto c = Compile("R\r\n" + line + "Unknown\r\n");
  // The line's own CR LF is its 192nd byte; the echo adds one more.
  EXPECT_EQ(c.console,
            "T.DTX(2): Error 18: Line too long.\r\n" + line + "\r\n" + std::string(191, ' ') + "^\r\n");
  EXPECT_TRUE(c.errors);
}

TEST(LineReading, TooLongLineInsideABlockLeavesItOpen) {
  const std::string line = LineOfLength(192);
  const auto c = Compile("#ifdef ver40\r\n" + line + "#endif\r\n");
  EXPECT_EQ(c.console, "T.DTX(2): Error 18: Line too long.\r\n" + line + "\r\n" + std::string(191, ' ') +
                           "^\r\n"
                           "T.DTX(2): Error 22: ENDIF directive missing.\r\n");
}

TEST(LineReading, TooLongEvenWhenThe192ndByteCompletesCrLf) {
  const std::string line = std::string(190, ';') + "\r\n";
  const auto c = Compile(line);
  EXPECT_EQ(Condensed(c.console), "1:E18^192");
  const auto shorter = Compile(line.substr(1));
  EXPECT_EQ(shorter.console, "T.DTX(2)\r\n\r\n");
}

TEST(LineReading, LoneLineFeedsEndNoLineInASourceThatHasACarriageReturn) {
  // Under 192 bytes it is one line whose LFs still separate statements.
  const auto small = Compile("L, DP_table\nT, \"AB\"\nR\r\n");
  EXPECT_EQ(small.console, "T.DTX(2)\r\n\r\n");
  EXPECT_EQ(small.htx, Bytes({0xFF, 0xF8, 2, 'A', 'B', 0xF7, 0xFF}));

  std::string big = "\r";
  while (big.size() < 200) big += "R\n";
  const auto c = Compile(big);
  EXPECT_EQ(c.console, "T.DTX(1): Error 18: Line too long.\r\n" + big.substr(0, 192) + "\r\n" +
                           std::string(191, ' ') + "^\r\n");
}

// A source with no CR at all, as editors on Linux write it, compiles as its
// CR LF form: the same file, the same diagnostics on the same lines.
TEST(LineReading, ASourceWithoutAnyCarriageReturnEndsItsLinesWithLineFeeds) {
  const struct {
    const char* name;
    std::vector<std::string_view> lines;
  } cases[] = {
      {"comment_then_statements", {"R", "; note", "B, 0x1FF", "R"}},
      {"error_on_line_3", {"L, DP_table", "T, \"AB\"", "B, (", "R"}},
      {"warning_and_labels", {"L, DP_table", "R", "L, unused", "R"}},
      {"last_line_without_end", {"R", "R"}},
  };
  for (const auto& c : cases) {
    std::string lf, crlf;
    for (const std::string_view line : c.lines) {
      lf += std::string(line) + "\n";
      crlf += std::string(line) + "\r\n";
    }
    if (std::string_view(c.name) == "last_line_without_end") lf.pop_back(), crlf.resize(crlf.size() - 2);
    const auto fromLf = Compile(lf);
    const auto fromCrLf = Compile(crlf);
    EXPECT_EQ(fromLf.console, fromCrLf.console) << c.name;
    EXPECT_EQ(fromLf.htx, fromCrLf.htx) << c.name;
    EXPECT_EQ(fromLf.errors, fromCrLf.errors) << c.name;
  }
  EXPECT_EQ(Compile("R\n; note\nB, 0x1FF\nR\n").htx.size(), Compile(Lines({"R", "; note", "B, 0x1FF", "R"})).htx.size());
  EXPECT_EQ(Condensed(Compile("R\nR\nB, (\n").console), "3:E25^5") << "the line of the error is named";
}

TEST(LineReading, LoneCarriageReturnEndsNoLineEither) {
  const auto c = Compile("R\rR\r\n");
  EXPECT_EQ(c.console, "T.DTX(2)\r\n\r\n");
  EXPECT_EQ(c.htx, Bytes({0xF7, 0xF7, 0xFF}));
}

TEST(LineReading, ZeroByteWhereAStatementBeginsEndsTheCompilationSilently) {
  const auto c = Compile(Lines({"L, DP_table", "R"}) + std::string(1, '\0') + Lines({"R", "Garbage ("}));
  EXPECT_EQ(c.console, "T.DTX(3)\r\n\r\n");
  EXPECT_EQ(c.htx, Bytes({0xFF, 0xF7, 0xFF}));
}

TEST(LineReading, ZeroByteInsideATextIsAnOrdinaryByte) {
  const auto c = Compile(Lines({std::string("T, \"A\0B\"", 8)}));
  EXPECT_EQ(c.htx, Bytes({0xF8, 3, 'A', 0, 'B', 0xFF}));
}

TEST(LineReading, LastLineMayLackItsLineEndOnlyWhereNothingFollowsOnIt) {
  // A statement must be ended by a line end; the end of the source is none.
  EXPECT_EQ(Condensed(Compile("R\r\nR").console), "3:E3");
  EXPECT_EQ(Compile("R\r\n; comment").console, "T.DTX(3)\r\n\r\n");
  EXPECT_EQ(Compile("R\r\nR\r").console, "T.DTX(3)\r\n\r\n");
}

}  // namespace
}  // namespace korvena::hypertext
