// Labels: the fixed sections in their order, user labels after them,
// references patched by the check pass, and what it reports.
#include <gtest/gtest.h>

#include "compile_helpers.h"
#include "korvena/hypertext/htx_format.h"

namespace korvena::hypertext {
namespace {

using testing::Bytes;
using testing::Compile;
using testing::Condensed;
using testing::Lines;

// L statements for the 25 fixed sections, in order.
std::string FixedSections() {
  std::string text;
  for (std::string_view name : htx::kFixedSectionNames) text += "L, " + std::string(name) + "\r\n";
  return text;
}

std::string Marks(int count) { return std::string(static_cast<std::size_t>(count), '\xFF'); }

TEST(Labels, FixedSectionsThenUserLabelsNumberedFrom26) {
  const auto c = Compile(FixedSections() + Lines({"L, First", "L, Second", "G, Second", "I, 4, First, 9"}));
  EXPECT_EQ(c.htx, Marks(27) + Bytes({0xFC, 27, 0xFB, 4, 26, 9, 0xFF}));
  EXPECT_EQ(c.console, "T.DTX(30)\r\n\r\n");
}

TEST(Labels, ForwardReferencesArePatched) {
  const auto c = Compile(Lines({"G, Later", "I, 1, Later", "G, Later"}) + FixedSections() + Lines({"L, Later"}));
  EXPECT_EQ(c.htx, Bytes({0xFC, 26, 0xFB, 1, 26, 0, 0xFC, 26}) + Marks(27));
}

TEST(Labels, FixedLabelsKeepTheirNumbersWithoutTheirSections) {
  const auto c = Compile(Lines({"G, DP_NCC", "G, DP_Strih", "I, 2, DP_InitFalse"}));
  EXPECT_EQ(c.htx, Bytes({0xFC, 25, 0xFC, 18, 0xFB, 2, 3, 0, 0xFF}));
  EXPECT_EQ(c.console, "T.DTX(4)\r\n\r\n");
}

TEST(Labels, FirstLabelsMustBeTheFixedOnesInOrder) {
  EXPECT_EQ(Condensed(Compile(Lines({"L, DP_Text"})).console), "1:E8^11");
  // The count moves on even after a wrong name.
  EXPECT_EQ(Condensed(Compile(Lines({"L, DP_Text", "L, DP_InitTrue", "L, DP_table"})).console), "1:E8^11 3:E8^12");
  EXPECT_EQ(Condensed(Compile(Lines({"L, DP_table", "L, Mine"})).console), "2:E8^8");
}

TEST(Labels, AUserLabelIsDefinedOnce) {
  const std::string fixed = FixedSections();
  EXPECT_EQ(Condensed(Compile(fixed + Lines({"L, Mine", "G, Mine", "L, Mine"})).console), "28:E9^8");
  EXPECT_EQ(Condensed(Compile(fixed + Lines({"L, DP_S"})).console), "26:E9^8");
  EXPECT_EQ(Condensed(Compile(Lines({"#const C = 1", "B, C"}) + fixed + Lines({"L, C"})).console), "28:E9^5");
}

TEST(Labels, ReferencesNeedLabels) {
  EXPECT_EQ(Condensed(Compile(Lines({"#const C = 1", "B, C", "G, C"})).console), "3:E24^5");
  EXPECT_EQ(Condensed(Compile(Lines({"#const C = 1", "B, C", "I, 1, C, 2"})).console), "3:E24^7");
}

TEST(CheckPass, UndefinedLabelIsAnErrorAfterTheSummary) {
  const auto c = Compile(Lines({"G, Nowhere", "R"}));
  EXPECT_EQ(c.console,
            "T.DTX(3)\r\n"
            "\r\n"
            "T.DTX: Error 12: Unknown identifier. (Nowhere)\r\n");
  EXPECT_TRUE(c.errors);
  EXPECT_EQ(c.htx, "");
}

TEST(CheckPass, UnusedLabelsAndConstantsAreWarningsInOrderOfFirstAppearance) {
  const auto c = Compile(Lines({"#const Spare = 1", "G, Nowhere", "#const Kept = 2", "B, Kept", "#const Text = \"t\""}) +
                         FixedSections() + Lines({"L, Lonely", "L, Nowhere"}));
  EXPECT_EQ(c.console,
            "T.DTX(33)\r\n"
            "\r\n"
            "T.DTX: Warning 11: Identifier not used. (Spare)\r\n"
            "T.DTX: Warning 11: Identifier not used. (Text)\r\n"
            "T.DTX: Warning 11: Identifier not used. (Lonely)\r\n");
  EXPECT_FALSE(c.errors);
  EXPECT_EQ(c.htx, Bytes({0xFC, 27, 0xF9, 2}) + Marks(28));
}

TEST(CheckPass, ErrorAndWarningsTogether) {
  const auto c = Compile(Lines({"#const Spare = 1", "G, Nowhere"}));
  EXPECT_EQ(Condensed(c.console), "ok(3) W11(Spare) E12(Nowhere)");
  EXPECT_TRUE(c.errors);
}

TEST(IdentifierTable, HoldsAtMost150Entries) {
  std::string source;
  for (int i = 1; i <= 125; ++i) source += "#const C" + std::to_string(i) + " = 1\r\n";
  for (int i = 1; i <= 125; ++i) source += "B, C" + std::to_string(i) + "\r\n";
  const auto full = Compile(source);
  EXPECT_FALSE(full.errors) << full.console;

  const auto constant = Compile(source + Lines({"#const C126 = 1"}));
  EXPECT_EQ(Condensed(constant.console), "251:E10^16");
  const auto reference = Compile(source + Lines({"G, Extra"}));
  EXPECT_EQ(Condensed(reference.console), "251:E10^9");
  const auto label = Compile(source + FixedSections() + Lines({"L, Extra"}));
  EXPECT_EQ(Condensed(label.console), "276:E10^9");
}

}  // namespace
}  // namespace korvena::hypertext
