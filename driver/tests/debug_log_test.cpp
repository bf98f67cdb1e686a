// KORVENA.DBG, line by line.
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "driver_rig.h"

namespace korvena::driver::testing {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TEST(DebugLog, StartOneGeneralCommandAndExit) {
  ScriptedRig rig;
  rig.replies["\x1b;S;0\r"] = "0\r";
  rig.Start("Debug=1\r\nCom=2\r\n");
  rig.Type("\x1b;S;0\r");
  rig.driver.ExitLibProc();
  EXPECT_EQ(rig.dir.Read("KORVENA.DBG", kMissing), Lines({
                                             "port open: 2",
                                             "open ok test",
                                             "write <ESC>",
                                             "write ;",
                                             "write S",
                                             "write ;",
                                             "write 0",
                                             "write <CR>",
                                             "extract S  -  0",
                                             "KVwrite_4",
                                             "ReadData -> 0",
                                             "ReadData Res -> 0",
                                             "KorvenaWrite -> S, LDX=0, Result=0, CRC=0",
                                             "close ok",
                                         }));
}

TEST(DebugLog, APortThatNeverOpens) {
  ScriptedRig rig;
  rig.port.openResult = 0;
  rig.Ini("Debug=1\r\nCom=3\r\nDispE=0\r\n");
  EXPECT_EQ(rig.driver.StartLibProc(), kCannotOpen);
  std::vector<std::string> expected = {"port open: 3"};
  for (int i = 0; i < 15; ++i) expected.push_back("sleeping = " + std::to_string(i));
  expected.push_back("open err");
  EXPECT_EQ(rig.dir.Read("KORVENA.DBG", kMissing), Lines(expected));
}

TEST(DebugLog, ADeviceFoundByTheBaudSearch) {
  EmulatedRig rig(emu::DeviceSettings{.baud = 19200});
  rig.Ini("Debug=1\r\n");
  EXPECT_EQ(rig.driver.StartLibProc(), kStarted);
  std::vector<std::string> expected = {"port open: 1"};
  for (int i = 0; i < 15; ++i) expected.push_back("open ok test");
  expected.push_back("open ok ->9600");
  EXPECT_EQ(rig.dir.Read("KORVENA.DBG", kMissing), Lines(expected));
}

TEST(DebugLog, NoDevice) {
  ScriptedRig rig;
  rig.replies.clear();
  rig.Ini("Debug=1\r\nDispE=0\r\n");
  EXPECT_EQ(rig.driver.StartLibProc(), kNoDevice);
  const std::string log = rig.dir.Read("KORVENA.DBG", kMissing);
  EXPECT_TRUE(log.ends_with("open ok ->9600\r\nnenajdeny\r\n")) << log;
}

TEST(DebugLog, WithLdxAndCrcOnTheSettingsShowAsMinusOne) {
  ScriptedRig rig;
  rig.replies["\x1b;K\r"] = "0\r";
  rig.replies["\x1b;GETLDX\r"] = std::string("ab\x00\xC3", 4);  // "ab" and its sum
  rig.Start("Debug=1\r\nLdx=1\r\nCRC=1\r\nTimeout=100\r\n");
  const std::size_t startLog = rig.dir.Read("KORVENA.DBG", kMissing).size();
  const uint32_t now = rig.clock.Ticks();
  rig.Type("\x1b;K\r\n");
  const std::string log = rig.dir.Read("KORVENA.DBG", kMissing).substr(startLog);
  // The fetch starts at `now` (no time passes while writing); the two bytes
  // came at once, so the last deadline is `now` + T.
  EXPECT_EQ(log, Lines({"write <ESC>", "write ;", "write K", "write <CR>", "extract K  -  ", "KVwrite_4",
                        "ReadData -> 0", "ReadData Res -> 0", "ReadLDX -> " + std::to_string(now + 1000),
                        "ReadLDX -> " + std::to_string(now + 100), "KorvenaWrite -> K, LDX=-1, Result=0, CRC=-1",
                        "write <LF>"}));
}

TEST(DebugLog, InfoAndSdEntries) {
  ScriptedRig rig;
  rig.replies["\x1b;IV;3\r"] = "abc\r";
  rig.replies["\x1b;READSD;4\r"] = "2\rxy0\r";
  rig.Start("Debug=1\r\n");
  const std::size_t startLog = rig.dir.Read("KORVENA.DBG", kMissing).size();
  rig.Type("\x1b;IV;3\r\x1b;READSD;4\r");
  const std::string log = rig.dir.Read("KORVENA.DBG", kMissing).substr(startLog);
  EXPECT_NE(log.find("\r\nextract IV  -  3\r\nReadInfo -> abc\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nextract READSD  -  4\r\nReadSD len-> 2\r\nReadSD -> 4.tx\r\n"), std::string::npos) << log;
}

TEST(DebugLog, DebugOffWritesNoFile) {
  ScriptedRig rig;
  rig.Start("Debug=0\r\n");
  rig.Type("\x1b;IV;0\r");
  rig.driver.ExitLibProc();
  EXPECT_FALSE(rig.dir.Has("KORVENA.DBG"));
}

TEST(DebugLog, ANewStartEmptiesAnOldLog) {
  ScriptedRig rig;
  rig.dir.Write("korvena.dbg", "yesterday\r\n");
  rig.Start("Debug=1\r\n");
  EXPECT_EQ(rig.dir.Read("korvena.dbg", kMissing), Lines({"port open: 1", "open ok test"}))
      << "an existing file of another letter case is the log";
}

// LDX data is kept whatever its sum; the log tells a damaged copy.
TEST(DebugLog, AnLdxSumThatDoesNotMatchIsLoggedAndTheDataKept) {
  for (const auto& [data, entry] : {std::pair<std::string, std::string>{std::string("ab\x00\xC3", 4), ""},
                                   {std::string("ab\x00\xC4", 4), "ReadLDX sum -> 00C4 != 00C3\r\n"},
                                   {std::string("\xFF\xFF\x01\xFE", 4), ""}}) {  // the sum wraps at 16 bits
    ScriptedRig rig;
    rig.replies["\x1b;GETLDX\r"] = data;
    rig.Start("Debug=1\r\n");
    rig.Type("\x1b;GETLDX\r");
    const std::string log = rig.dir.Read("KORVENA.DBG", kMissing);
    EXPECT_EQ(rig.dir.Read("KORVENA.LDX", kMissing), data.substr(0, 2));
    EXPECT_EQ(log.find("ReadLDX sum"), entry.empty() ? std::string::npos : log.find(entry)) << log;
  }
}

TEST(DebugLog, AFailedOpenNotesThePortLibrarysReason) {
  ScriptedRig rig;
  rig.port.openResult = 0;
  rig.port.openProblem = "busy, held by another program: /dev/ttyS2";
  rig.Ini("Debug=1\r\nCom=3\r\nDispE=0\r\n");
  EXPECT_EQ(rig.driver.StartLibProc(), kCannotOpen);
  const std::string log = rig.dir.Read("KORVENA.DBG", kMissing);
  EXPECT_TRUE(log.ends_with("sleeping = 14\r\nopen err\r\nopen problem: busy, held by another program: /dev/ttyS2\r\n"))
      << log;
}

#if !defined(_WIN32)
TEST(DebugLog, ALinkPlantedAsTheLogIsNotWrittenThrough) {
  ScriptedRig rig;
  const std::string victim = rig.dir.Write("victim", "precious");
  ASSERT_EQ(symlink(victim.c_str(), (rig.dir / "KORVENA.DBG").c_str()), 0);
  rig.Start("Debug=1\r\n");
  EXPECT_TRUE(rig.driver.started()) << "the till works on without its log";
  EXPECT_EQ(rig.dir.Read("victim"), "precious");
}
#endif

}  // namespace
}  // namespace korvena::driver::testing
