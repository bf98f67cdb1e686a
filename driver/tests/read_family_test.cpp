// The read family: the answer of the last IV or INFO, one character a call.
#include <gtest/gtest.h>

#include "driver_rig.h"

namespace korvena::driver::testing {
namespace {

struct ReadCase {
  const char* name;
  std::string reply;        // the device's bytes after the IV command
  std::vector<int> reads;   // KorvenaRead, call after call
  friend std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.name; }
};

class ReadFamilyTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadFamilyTest, HandsOutTheAnswerThenCr) {
  ScriptedRig rig;
  rig.Start();
  rig.replies["\x1b;IV;7\r"] = GetParam().reply;
  rig.Type("\x1b;IV;7\r");
  std::vector<int> reads;
  for (std::size_t i = 0; i < GetParam().reads.size(); ++i) reads.push_back(rig.driver.Read());
  EXPECT_EQ(reads, GetParam().reads);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ReadFamilyTest,
    ::testing::Values(ReadCase{"zero", "0\r", {48, 13, 13}},
                      ReadCase{"partial_at_the_deadline", "12", {49, 50, 13}},
                      ReadCase{"empty", "\r", {13, 13}},
                      ReadCase{"silence", "", {13}},
                      ReadCase{"nul_lf_and_255_inside", std::string("\0\n\xff", 3) + "\r", {0, 10, 255, 13}},
                      ReadCase{"only_the_first_line", "A\rB\r", {65, 13}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ReadFamily, BeforeAnyStartEveryCallGives255) {
  ScriptedRig rig;
  EXPECT_EQ(rig.driver.Read(), kReadNotStarted);
  EXPECT_EQ(WidenReadW(rig.driver.Read()), 65535);
  EXPECT_EQ(WidenReadL(rig.driver.Read()), -1);
}

TEST(ReadFamily, WideVariantsMapOnly255) {
  const struct {
    uint8_t c;
    uint16_t w;
    int32_t l;
  } cases[] = {{0, 0, 0}, {13, 13, 13}, {48, 48, 48}, {254, 254, 254}, {255, 65535, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(WidenReadW(c.c), c.w);
    EXPECT_EQ(WidenReadL(c.c), c.l);
  }
  EXPECT_EQ(WidenWriteResult(kNotStarted), -1);
  EXPECT_EQ(WidenWriteResult(256), 256);
  EXPECT_EQ(WidenWriteResult(0), 0);
}

TEST(ReadFamily, OnlyIvAndInfoReplaceTheAnswer) {
  ScriptedRig rig;
  rig.Start();
  rig.replies["\x1b;IV;1\r"] = "AB\r";
  rig.replies["\x1b;S;0\r"] = "0\r";
  rig.Type("\x1b;IV;1\r");
  EXPECT_EQ(rig.driver.Read(), 'A');
  rig.Type("\x1b;S;0\r");
  rig.Type("\r");
  EXPECT_EQ(rig.driver.Read(), 'B');
  rig.replies["\x1b;INFO;2\r"] = "C\r";
  rig.Type("\x1b;INFO;2\r");
  EXPECT_EQ(ReadAll(rig.driver), (std::vector<int>{'C', 13}));
}

TEST(ReadFamily, ALongAnswerIsReadInFull) {
  ScriptedRig rig;
  rig.Start();
  const std::string answer(50000, 'z');
  rig.replies["\x1b;IV;1\r"] = answer + "\r";
  rig.Type("\x1b;IV;1\r");
  std::string read;
  for (int c = rig.driver.Read(); c != 13; c = rig.driver.Read()) read.push_back(static_cast<char>(c));
  EXPECT_EQ(read, answer);
}

}  // namespace
}  // namespace korvena::driver::testing
