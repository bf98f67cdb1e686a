#include <gtest/gtest.h>

#include "emu_options.h"

namespace korvena::emu {
namespace {

TEST(EmuOptions, DefaultsServeOneDeviceAt9600) {
  EmuOptions options;
  std::string error;
  ASSERT_TRUE(ParseEmuOptions({}, options, error));
  EXPECT_EQ(options.device.baud, 9600u);
  EXPECT_EQ(options.com, 1);
  EXPECT_FALSE(options.pace);
  EXPECT_FALSE(options.device.silent);
  EXPECT_EQ(options.device.fiscalMemoryBytes, 2097152u);
}

TEST(EmuOptions, ReadsEverySwitch) {
  EmuOptions options;
  std::string error;
  ASSERT_TRUE(ParseEmuOptions({"--baud", "38400", "--com=3", "--pace", "--silent", "--drop-sent", "5",
                               "--drop-received=7", "--link", "/tmp/x", "--journal", "/tmp/j", "--info", "5=KORVENA 2010", "--info=7=a=b", "--fiscal-memory", "65536"},
                              options, error))
      << error;
  EXPECT_EQ(options.device.baud, 38400u);
  EXPECT_EQ(options.com, 3);
  EXPECT_TRUE(options.pace);
  EXPECT_TRUE(options.device.silent);
  EXPECT_EQ(options.device.dropSentEvery, 5u);
  EXPECT_EQ(options.device.dropReceivedEvery, 7u);
  EXPECT_EQ(options.linkPath, "/tmp/x");
  EXPECT_EQ(options.journalPath, "/tmp/j");
  EXPECT_EQ(options.info, (std::map<int, std::string>{{5, "KORVENA 2010"}, {7, "a=b"}}));
  EXPECT_EQ(options.device.fiscalMemoryBytes, 65536u);
}

TEST(EmuOptions, AMuteOrDeafSpellNamesItsFrameItsTimeAndWhatCounts) {
  EmuOptions options;
  std::string error;
  ASSERT_TRUE(ParseEmuOptions({"--mute-after", "4", "--fault-for", "250", "--fault-frames", "S,L,K,GETLDX"}, options, error))
      << error;
  EXPECT_EQ(options.device.fault.kind, LineFault::kMute);
  EXPECT_EQ(options.device.fault.afterFrame, 4u);
  EXPECT_EQ(options.device.fault.lastsMs, 250u);
  EXPECT_EQ(options.device.fault.counted, (std::vector<std::string>{"S", "L", "K", "GETLDX"}));
  ASSERT_TRUE(ParseEmuOptions({"--deaf-after=1"}, options, error));
  EXPECT_EQ(options.device.fault.kind, LineFault::kDeaf);
}

TEST(EmuOptions, RefusesBadInputWithAMessage) {
  const std::vector<std::vector<std::string>> bad = {
      {"--baud"}, {"--baud", "fast"}, {"--baud", "0"}, {"--com", "21"}, {"--com", "-1"}, {"--colour"}, {"--info", "x=1"}, {"--info", "5"},
      {"--fiscal-memory", "16777217"}, {"--mute-after", "0"}, {"--deaf-after", "x"}, {"--fault-frames", "S,,K"},
  };
  for (const auto& arguments : bad) {
    EmuOptions options;
    std::string error;
    EXPECT_FALSE(ParseEmuOptions(arguments, options, error)) << arguments[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(EmuOptions, APasswordIsOneToElevenDigitsAsTheDeviceTakesIt) {
  const struct {
    const char* password;
    bool taken;
  } cases[] = {{"0", true}, {"4711", true}, {"12345678901", true}, {"", false}, {"abc", false},
               {"47a1", false}, {"-1", false}, {" 1", false}, {"123456789012", false}};
  for (const auto& c : cases) {
    EmuOptions options;
    std::string error;
    EXPECT_EQ(ParseEmuOptions({"--password", c.password}, options, error), c.taken) << c.password;
    EXPECT_EQ(error.empty(), c.taken) << c.password;
  }
}

}  // namespace
}  // namespace korvena::emu
