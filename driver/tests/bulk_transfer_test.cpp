// LDX data after GETLDX and SD-card data after READSD, into their files.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver_rig.h"

namespace korvena::driver::testing {
namespace {

struct LdxCase {
  const char* name;
  std::string data;  // all the device sends after GETLDX
  uint16_t result;
  std::string file;  // KORVENA.LDX afterwards
  friend std::ostream& operator<<(std::ostream& os, const LdxCase& c) { return os << c.name; }
};

class LdxFetchTest : public ::testing::TestWithParam<LdxCase> {};

TEST_P(LdxFetchTest, KeepsAllButTheLastTwoBytes) {
  const LdxCase& c = GetParam();
  ScriptedRig rig;
  rig.Start("Ldx=1\r\nFileDir=days\r\n");
  std::filesystem::create_directory(rig.dir / "days");
  rig.dir.Write("KORVENA.LDX", "old");
  rig.replies["\x1b;GETLDX\r"] = c.data;
  EXPECT_EQ(rig.Type("\x1b;GETLDX\r"), c.result);
  EXPECT_EQ(rig.port.written, "\x1b;GETLDX\r");
  EXPECT_EQ(rig.dir.Read("KORVENA.LDX", kMissing), c.file);
  EXPECT_EQ(rig.dir.Read("days/20240307.tx", kMissing), c.result == kOk ? c.file : "<missing>");
}

INSTANTIATE_TEST_SUITE_P(
    Data, LdxFetchTest,
    ::testing::Values(LdxCase{"no_byte_fails_and_writes_nothing", "", 1, "old"},
                      LdxCase{"two_bytes_fail_and_write_nothing", "\x01\x02", 1, "old"},
                      LdxCase{"one_byte_is_written", "x", 0, "x"},
                      LdxCase{"three_bytes_keep_one", "abc", 0, "a"},
                      LdxCase{"binary_kept_exactly", std::string("\0\r\n\xff\x1b;x\0\0", 10), 0,
                              std::string("\0\r\n\xff\x1b;x", 8)}),
    [](const auto& p) { return std::string(p.param.name); });

// A device that goes on sending past the cap: the data are incomplete, so the
// command reports 1. SD data are kept as far as they came, LDX data (which
// would grow the daily file) not at all.
TEST(BulkTransfers, ATransferCutAtTheCapReportsOne) {
  ScriptedRig rig(8);
  rig.Start("Ldx=1\r\nFileDir=days\r\n");
  std::filesystem::create_directory(rig.dir / "days");
  rig.replies["\x1b;GETLDX\r"] = "0123456789..";
  EXPECT_EQ(rig.Type("\x1b;GETLDX\r"), kFailed);
  EXPECT_FALSE(rig.dir.Has("KORVENA.LDX"));
  EXPECT_FALSE(rig.dir.Has("days/20240307.tx"));

  rig.replies["\x1b;READSD;1\r"] = "12\r0123456789ab";
  EXPECT_EQ(rig.Type("\x1b;READSD;1;sd.bin\r"), kFailed);
  EXPECT_EQ(rig.dir.Read("sd.bin", kMissing), "01234567");
  rig.replies["\x1b;READSD;1\r"] = "8\r01234567";
  EXPECT_EQ(rig.Type("\x1b;READSD;1;sd.bin\r"), kOk) << "exactly the cap, as announced, is complete";
}

TEST(LdxFetch, TheDailyFileCollectsEveryFetchOfTheDay) {
  ScriptedRig rig;
  rig.Start("Ldx=1\r\nFileDir=days\r\n");
  std::filesystem::create_directory(rig.dir / "days");
  rig.replies["\x1b;GETLDX\r"] = "first\r\n..";
  rig.Type("\x1b;GETLDX\r");
  rig.replies["\x1b;GETLDX\r"] = "second\r\n..";
  rig.Type("\x1b;GETLDX\r");
  EXPECT_EQ(rig.dir.Read("KORVENA.LDX", kMissing), "second\r\n") << "the LDX file holds the last fetch only";
  EXPECT_EQ(rig.dir.Read("days/20240307.tx", kMissing), "first\r\nsecond\r\n");
}

TEST(LdxFetch, WithLdxOffGetLdxWritesNoDailyFile) {
  ScriptedRig rig;
  rig.Start("FileLD=out.ldx\r\n");
  rig.replies["\x1b;GETLDX\r"] = "data..";
  EXPECT_EQ(rig.Type("\x1b;GETLDX\r"), kOk);
  EXPECT_EQ(rig.dir.Names(), (std::vector<std::string>{"KVORWXX.INI", "out.ldx"}));
}

TEST(LdxFetch, WaitsTenTimesTForTheFirstByteAndTAfterEachOne) {
  const uint32_t t = 100;
  struct {
    const char* name;
    std::vector<std::pair<uint32_t, std::string>> bytes;  // offset from the fetch's start, byte
    std::string kept;
  } cases[] = {
      {"first_byte_just_in_time", {{10 * t, "a"}, {10 * t, "bc"}}, "a"},
      {"first_byte_too_late", {{10 * t + 1, "abc"}}, "<missing>"},
      {"gap_of_t_is_bridged", {{0, "a"}, {t, "b"}, {2 * t, "cde"}}, "abc"},
      {"gap_longer_than_t_ends_it", {{0, "abcd"}, {4 * t, "efg"}}, "ab"},
  };
  for (const auto& c : cases) {
    ScriptedRig rig;
    rig.Start("Timeout=100\r\n");
    rig.port.onFrame = [&](const std::string&) {
      const uint32_t start = rig.clock.Ticks();
      for (const auto& [offset, bytes] : c.bytes) rig.port.SendAt(start + offset, bytes);
    };
    rig.Type("\x1b;GETLDX\r");
    EXPECT_EQ(rig.dir.Read("KORVENA.LDX", kMissing), c.kept) << c.name;
  }
}

TEST(ReadSd, WritesTheDataIntoTheFileOfFieldThree) {
  ScriptedRig rig;
  rig.Start("Timeout=100\r\n");
  rig.replies["\x1b;READSD;5\r"] = "6\rSDDATA0\r";
  const std::string target = rig.dir / "sd.bin";
  EXPECT_EQ(rig.Type("\x1b;READSD;5;" + target + ";ignored\r"), kOk);
  EXPECT_EQ(rig.port.written, "\x1b;READSD;5\r") << "only the day goes to the device";
  EXPECT_EQ(rig.dir.Read("sd.bin", kMissing), "SDDATA");
  EXPECT_EQ(rig.port.calls, (std::vector<std::string>{"Flush", "SetPort 115200", "SetPort 9600"}));
}

TEST(ReadSd, WithoutFieldThreeTheFileIsFileDirDayTx) {
  ScriptedRig rig;
  rig.Start("FileDir=sd\r\n");
  std::filesystem::create_directory(rig.dir / "sd");
  rig.replies["\x1b;READSD;17\r"] = "3\rabc0\r";
  EXPECT_EQ(rig.Type("\x1b;READSD;17\r"), kOk);
  EXPECT_EQ(rig.dir.Read("sd/17.tx", kMissing), "abc");
}

TEST(ReadSd, AtTheSdSpeedAlreadyThePortIsNotSwitched) {
  ScriptedRig rig;
  rig.Start("BaudRate=115200\r\n");
  rig.replies["\x1b;READSD;1\r"] = "1\rx0\r";
  EXPECT_EQ(rig.Type("\x1b;READSD;1\r"), kOk);
  EXPECT_EQ(rig.port.calls, std::vector<std::string>{"Flush"});
}

// Only a transfer known to be whole replaces the day's file; one that
// stalls is kept only where no file stood, and fails.
TEST(ReadSd, EveryWayATransferEndsWithAndWithoutAnEarlierFile) {
  struct {
    const char* name;
    std::string reply;
    uint16_t result;
    std::string fileWhenNew;       // 1.tx afterwards when there was none
    std::string fileOverEarlier;  // 1.tx afterwards when it held "earlier"
  } cases[] = {
      {"stops_at_the_length", "2\rabcd", kOk, "ab", "ab"},
      {"zero_length_ends_at_the_first_empty_poll", "0\r", kOk, "", ""},
      {"length_not_a_number_reads_until_silence", "many\rabc", kOk, "abc", "abc"},
      {"negative_length_reads_until_silence", "-5\rabc", kOk, "abc", "abc"},
      {"stalls_before_the_length", "10\rabc", kFailed, "abc", "earlier"},
      {"announces_and_sends_nothing", "1281\r", kFailed, "", "earlier"},
      {"empty_length_line_and_no_data", "\r", kFailed, kMissing, "earlier"},
      {"garbage_length_line_and_no_data", "x?\r", kFailed, kMissing, "earlier"},
      {"no_length_line_at_all", "", kFailed, kMissing, "earlier"},
  };
  for (const auto& c : cases) {
    for (const bool earlier : {false, true}) {
      ScriptedRig rig;
      rig.Start();
      if (earlier) rig.dir.Write("1.tx", "earlier");
      rig.replies["\x1b;READSD;1\r"] = c.reply;
      EXPECT_EQ(rig.Type("\x1b;READSD;1\r"), c.result) << c.name;
      EXPECT_EQ(rig.dir.Read("1.tx", kMissing), earlier ? c.fileOverEarlier : c.fileWhenNew) << c.name;
    }
  }
}

// The day names the file, so only a plain number may pass.
TEST(ReadSd, ADayThatIsNotAPlainNumberIsRefusedBeforeAnythingIsSent) {
  for (const char* day : {"../../x", "/tmp/x", "", "1a", "-1", " 1", "1.5"}) {
    ScriptedRig rig;
    rig.Start();
    rig.port.calls.clear();
    rig.port.written.clear();
    EXPECT_EQ(rig.Type("\x1b;READSD;" + std::string(day) + "\r"), kFailed) << day;
    EXPECT_EQ(rig.port.calls, std::vector<std::string>{"Flush"}) << day;
    EXPECT_TRUE(rig.port.written.empty()) << day;
  }
}

TEST(ReadSd, AFileThatCannotBeWrittenGivesOne) {
  ScriptedRig rig;
  rig.Start();
  rig.replies["\x1b;READSD;1\r"] = "1\rx0\r";
  EXPECT_EQ(rig.Type("\x1b;READSD;1;no/such/dir/f\r"), kFailed);
  EXPECT_EQ(rig.port.calls.back(), "SetPort 9600") << "the port is switched back all the same";
}

TEST(ReadSd, TheEmulatedDeviceSendsADayAtTheSdSpeed) {
  EmulatedRig rig;
  rig.Start();
  rig.device.state().sales.sdDays["3"] = std::string(5000, 'd') + "\r\n";
  EXPECT_EQ(rig.Type("\x1b;READSD;3\r"), kOk);
  EXPECT_EQ(rig.dir.Read("3.tx", kMissing), std::string(5000, 'd') + "\r\n");
  EXPECT_EQ(rig.port.baud(), 9600);
  EXPECT_EQ(rig.Type("\x1b;IV;0\r"), kOk) << "the device's closing line was taken, the line is clean";
  EXPECT_EQ(ReadAll(rig.driver), (std::vector<int>{'0', 13}));
}

TEST(EmulatedReceipt, LdxOnWritesTheReceiptAndTheDailyFile) {
  EmulatedRig rig;
  rig.Start("Ldx=1\r\nFileDir=ldx\r\n");
  std::filesystem::create_directory(rig.dir / "ldx");
  EXPECT_EQ(rig.Type("\x1b;S;0\r"), kOk);
  EXPECT_EQ(rig.Type("\x1b;L;1.000;2.50;A;Chlieb\r"), kOk);
  EXPECT_EQ(rig.Type("\x1b;K;5.00;0;0;0;0;0\r"), kOk);
  const std::string receipt = rig.dir.Read("KORVENA.LDX", kMissing);
  EXPECT_NE(receipt.find("Chlieb\r\n"), std::string::npos) << receipt;
  EXPECT_EQ(receipt, rig.device.state().sales.ldx);
  EXPECT_EQ(rig.Type("\x1b;V;100\r"), kOk);
  EXPECT_EQ(rig.dir.Read("ldx/20240307.tx", kMissing), receipt + rig.device.state().sales.ldx);
  EXPECT_EQ(rig.Type("\x1b;K\r"), 2) << "no receipt open: the device's own number";
}

}  // namespace
}  // namespace korvena::driver::testing
