// Starting and stopping: the configuration file, the port, the messages.
#include <gtest/gtest.h>


#include "driver_rig.h"
#include "korvena/driver/driver_config.h"

namespace korvena::driver::testing {
namespace {

struct ConfigCase {
  const char* name;
  std::string ini;  // lines of [Setting]; "<none>" for no file at all
  int32_t timeoutMs;
  bool debug, ldx, iv, crc;
  int32_t baud;
  std::string ldxFileName;
  std::string fileDir;
  friend std::ostream& operator<<(std::ostream& os, const ConfigCase& c) { return os << c.name; }
};

class ConfigurationTest : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(ConfigurationTest, StartTakesTheFileWithDefaultsAndLimits) {
  const ConfigCase& c = GetParam();
  ScriptedRig rig;
  if (c.ini != "<none>") rig.Ini(c.ini);
  ASSERT_EQ(rig.driver.StartLibProc(), kStarted);
  const DriverSettings& s = rig.driver.settings();
  EXPECT_EQ(s.timeoutMs, c.timeoutMs);
  EXPECT_EQ(s.debug, c.debug);
  EXPECT_EQ(s.ldx, c.ldx);
  EXPECT_EQ(s.iv, c.iv);
  EXPECT_EQ(s.crc, c.crc);
  EXPECT_EQ(s.baud, c.baud);
  EXPECT_EQ(s.ldxFileName, c.ldxFileName);
  EXPECT_EQ(s.fileDir, c.fileDir);
  EXPECT_EQ(rig.port.calls.at(1), "Open 1 " + std::to_string(c.baud));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ConfigurationTest,
    ::testing::Values(
        ConfigCase{"no_file", "<none>", 100, false, false, false, false, 9600, "KORVENA.LDX", ""},
        ConfigCase{"empty_section", "", 100, false, false, false, false, 9600, "KORVENA.LDX", ""},
        ConfigCase{"timeout_below_100", "Timeout=20\r\n", 100, false, false, false, false, 9600, "KORVENA.LDX", ""},
        ConfigCase{"timeout_above_5000", "Timeout=9000\r\n", 5000, false, false, false, false, 9600, "KORVENA.LDX",
                   ""},
        ConfigCase{"timeout_negative", "Timeout=-300\r\n", 100, false, false, false, false, 9600, "KORVENA.LDX", ""},
        ConfigCase{"timeout_in_range", "Timeout=250\r\n", 250, false, false, false, false, 9600, "KORVENA.LDX", ""},
        ConfigCase{"switches_on_only_at_1", "Debug=2\r\nLdx=1\r\nIV=-1\r\nCRC=1\r\n", 100, false, true, false, true,
                   9600, "KORVENA.LDX", ""},
        ConfigCase{"all_on_keys_any_case", "debug=1\r\nLDX=1\r\niv=1\r\ncrc=1\r\n", 100, true, true, true, true, 9600,
                   "KORVENA.LDX", ""},
        ConfigCase{"baud_from_file", "BaudRate=19200\r\n", 100, false, false, false, false, 19200, "KORVENA.LDX", ""},
        ConfigCase{"baud_not_decimal", "BaudRate=fast\r\n", 100, false, false, false, false, 9600, "KORVENA.LDX", ""},
        ConfigCase{"baud_with_junk", "BaudRate=19200x\r\n", 100, false, false, false, false, 9600, "KORVENA.LDX", ""},
        ConfigCase{"baud_zero", "BaudRate=0\r\n", 100, false, false, false, false, 9600, "KORVENA.LDX", ""},
        ConfigCase{"baud_too_large", "BaudRate=99999999999\r\n", 100, false, false, false, false, 9600,
                   "KORVENA.LDX", ""},
        ConfigCase{"files", "FileLD=denne.ldx\r\nFileDir=ldx\r\n", 100, false, false, false, false, 9600, "denne.ldx",
                   std::string("ldx") + kDelimiter},
        ConfigCase{"file_dir_keeps_its_delimiter", "FileDir=/var/ldx/\r\n", 100, false, false, false, false, 9600,
                   "KORVENA.LDX", "/var/ldx/"},
        ConfigCase{"long_names_taken_whole", "FileLD=" + std::string(200, 'n') + "\r\n", 100, false, false, false,
                   false, 9600, std::string(200, 'n'), ""}),
    [](const auto& p) { return std::string(p.param.name); });

class ComOutOfRangeTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ComOutOfRangeTest, RefusesWithoutTouchingThePort) {
  ScriptedRig rig;
  rig.Ini("Com=" + GetParam() + "\r\nDebug=1\r\n");
  EXPECT_EQ(rig.driver.StartLibProc(), kStartRefused);
  EXPECT_TRUE(rig.port.calls.empty());
  EXPECT_TRUE(rig.warnings.empty());
  EXPECT_FALSE(rig.driver.started());
  EXPECT_EQ(rig.dir.Read("KORVENA.DBG", kMissing), "") << "no log entry";
}

INSTANTIATE_TEST_SUITE_P(Ports, ComOutOfRangeTest,
                         ::testing::Values("0", "21", "255", "256", "-1", "4294967297", "99999999999999999999", "abc"));

TEST(Start, ComTakesPortsOneToTwenty) {
  for (const int com : {1, 20}) {
    ScriptedRig rig;
    rig.Ini("Com=" + std::to_string(com) + "\r\n");
    EXPECT_EQ(rig.driver.StartLibProc(), kStarted);
    EXPECT_EQ(rig.port.calls.at(1), "Open " + std::to_string(com) + " 9600");
  }
}

TEST(Start, ExWithNullTextsUsesTheDefaults) {
  ScriptedRig rig;
  EXPECT_EQ(rig.driver.StartLibProcEx(4, nullptr, nullptr, nullptr, true), kStarted);
  const DriverSettings& s = rig.driver.settings();
  EXPECT_EQ(s.ldxFileName, "KORVENA.LDX");
  EXPECT_EQ(s.fileDir, "");
  EXPECT_EQ(s.baud, 9600);
  EXPECT_EQ(s.timeoutMs, 0) << "without StartLibProc every time limit is 0";
  EXPECT_FALSE(s.debug || s.ldx || s.iv || s.crc);
  EXPECT_EQ(rig.port.calls.at(1), "Open 4 9600");
}

TEST(Start, ExTakesItsTexts) {
  ScriptedRig rig;
  EXPECT_EQ(rig.driver.StartLibProcEx(2, "/data/ldx", "x.ldx", "19200", false), kStarted);
  EXPECT_EQ(rig.driver.settings().fileDir, std::string("/data/ldx") + kDelimiter);
  EXPECT_EQ(rig.driver.settings().ldxFileName, "x.ldx");
  EXPECT_EQ(rig.driver.settings().baud, 19200);
}

// A path is taken whole up to the platform's limit: cut, it would name
// another file and the day's record would go there.
TEST(Start, ExTakesTextsWholeUpToThePathLimitAndRefusesLongerOnes) {
  const std::size_t longest = kLongestStartText;
  const std::string fits(longest, 'd');
  const std::string tooLong(longest + 1, 'd');
  const struct {
    const char* key;
    const std::string& value;
    uint16_t result;
  } cases[] = {
      {"FileDir", fits, kStarted},
      {"FileLD", fits, kStarted},
      {"FileDir", tooLong, kStartRefused},
      {"FileLD", tooLong, kStartRefused},
      {"BaudRate", tooLong, kStartRefused},
  };
  for (const auto& c : cases) {
    ScriptedRig rig;
    rig.Ini("Debug=1\r\n" + std::string(c.key) + "=" + c.value + "\r\n");
    EXPECT_EQ(rig.driver.StartLibProc(), c.result) << c.key;
    const DriverSettings& s = rig.driver.settings();
    if (c.result == kStarted) {
      EXPECT_EQ(std::string(c.key) == "FileDir" ? s.fileDir : s.ldxFileName,
                std::string(c.key) == "FileDir" ? fits + kDelimiter : fits)
          << c.key;
    } else {
      EXPECT_TRUE(rig.port.calls.empty()) << c.key;
      EXPECT_NE(rig.dir.Read("KORVENA.DBG").find(std::string(c.key) + " longer than " + std::to_string(longest)),
                std::string::npos)
          << c.key;
    }
  }
}

TEST(Start, ExRefusesPortZeroAndAboveTwenty) {
  for (const uint8_t port : {0, 21, 255}) {
    ScriptedRig rig;
    EXPECT_EQ(rig.driver.StartLibProcEx(port, nullptr, nullptr, nullptr, true), kStartRefused);
    EXPECT_TRUE(rig.port.calls.empty());
  }
}

TEST(Start, BaudSearchFindsTheDeviceAndWritesTheRateBesideTheLibrary) {
  EmulatedRig rig(emu::DeviceSettings{.baud = 38400});
  rig.dir.Write("KVORWXX.INI", "; till 3\r\n[Setting]\r\nCom=2\r\nBaudRate=9600\r\nTimeout=100\r\n\r\n[Other]\r\nX=1\r\n");
  EXPECT_EQ(rig.driver.StartLibProc(), kStarted);
  EXPECT_EQ(rig.driver.settings().baud, 38400);
  EXPECT_EQ(rig.dir.Read("KVORWXX.INI", kMissing),
            "; till 3\r\n[Setting]\r\nCom=2\r\nBaudRate=38400\r\nTimeout=100\r\n\r\n[Other]\r\nX=1\r\n");
  // Working at the rate found.
  EXPECT_EQ(rig.Type("\x1b;IV;0\r"), kOk);
  EXPECT_EQ(ReadAll(rig.driver), (std::vector<int>{'0', 13}));
}

TEST(Start, PortThatCannotBeOpenedGivesSevenWithItsMessage) {
  ScriptedRig rig;
  rig.port.openResult = 0;
  rig.Ini("Com=3\r\n");
  const uint32_t before = rig.clock.Ticks();
  EXPECT_EQ(rig.driver.StartLibProc(), kCannotOpen);
  EXPECT_EQ(rig.clock.Ticks() - before, 15u * 200u);
  ASSERT_EQ(rig.warnings.size(), 1u);
  EXPECT_EQ(rig.warnings[0].first, "Chyba");
  EXPECT_EQ(rig.warnings[0].second, "  7 Nemôžem otvoriť COM3.");
  EXPECT_FALSE(rig.port.open);
  EXPECT_FALSE(rig.driver.started());
  EXPECT_EQ(rig.Type("\x1b;K\r"), kNotStarted);
}

TEST(Start, NoDeviceGivesFiveWithItsMessageAndClosesThePort) {
  ScriptedRig rig;
  rig.replies.clear();
  rig.Ini("Com=1\r\n");
  EXPECT_EQ(rig.driver.StartLibProc(), kNoDevice);
  ASSERT_EQ(rig.warnings.size(), 1u);
  EXPECT_EQ(rig.warnings[0].second, "  5 KORVENA.2010 nebol nájdený na COM porte !");
  EXPECT_FALSE(rig.port.open);
  EXPECT_EQ(rig.port.calls.back(), "Close");
  EXPECT_FALSE(rig.dir.Read("KVORWXX.INI", kMissing).find("38400") != std::string::npos);
}

TEST(Start, DispEOffShowsNothing) {
  ScriptedRig rig;
  rig.port.openResult = 0;
  rig.Ini("DispE=0\r\n");
  EXPECT_EQ(rig.driver.StartLibProc(), kCannotOpen);
  EXPECT_TRUE(rig.warnings.empty());
}

TEST(Start, SecondStartGivesOneAndChangesNothing) {
  ScriptedRig rig;
  rig.Start("Debug=1\r\nTimeout=300\r\n");
  rig.Type("\x1b;IV;0\r");
  const std::string log = rig.dir.Read("KORVENA.DBG", kMissing);
  rig.Ini("Debug=0\r\nTimeout=900\r\nIV=1\r\n");
  rig.port.calls.clear();
  EXPECT_EQ(rig.driver.StartLibProc(), kStartRefused);
  EXPECT_EQ(rig.driver.StartLibProcEx(1, "x", "y", "19200", true), kStartRefused);
  EXPECT_TRUE(rig.port.calls.empty()) << "the port is not touched";
  EXPECT_EQ(rig.driver.settings().timeoutMs, 300);
  EXPECT_TRUE(rig.driver.settings().debug);
  EXPECT_FALSE(rig.driver.settings().iv);
  EXPECT_EQ(rig.driver.settings().fileDir, "");
  EXPECT_EQ(rig.dir.Read("KORVENA.DBG", kMissing), log) << "the log is not emptied";
  EXPECT_EQ(ReadAll(rig.driver), (std::vector<int>{'0', 13})) << "the answer is kept";
}

TEST(Exit, WithoutAStartClosesNothing) {
  ScriptedRig rig;
  rig.driver.ExitLibProc();
  EXPECT_TRUE(rig.port.calls.empty());
}

TEST(Exit, ClosesThePortAndStopsTheExports) {
  ScriptedRig rig;
  rig.Start();
  rig.driver.ExitLibProc();
  EXPECT_EQ(rig.port.calls, std::vector<std::string>{"Close"});
  EXPECT_FALSE(rig.driver.started());
  EXPECT_EQ(rig.Type("\x1b;K\r"), kNotStarted);
  EXPECT_EQ(rig.driver.Read(), kReadNotStarted);
  EXPECT_TRUE(rig.port.written.empty());
}

TEST(Exit, SettingsSurviveForALaterExStart) {
  ScriptedRig rig;
  rig.Start("Timeout=300\r\nIV=1\r\nLdx=1\r\n");
  rig.driver.ExitLibProc();
  ASSERT_EQ(rig.driver.StartLibProcEx(1, nullptr, nullptr, nullptr, false), kStarted);
  EXPECT_EQ(rig.driver.settings().timeoutMs, 300);
  EXPECT_TRUE(rig.driver.settings().iv);
  EXPECT_TRUE(rig.driver.settings().ldx);
}

TEST(Start, ASuccessfulStartEmptiesTheBuffers) {
  ScriptedRig rig;
  rig.Start();
  rig.Type("\x1b;IV;0\r\x1b;K;half");
  rig.driver.ExitLibProc();
  rig.driver.StartLibProc();
  rig.port.written.clear();
  EXPECT_EQ(rig.driver.Read(), kAnswerEnd) << "answer emptied";
  rig.Type("\r");
  EXPECT_TRUE(rig.port.written.empty()) << "command buffer emptied: a lone CR sends nothing";
}

}  // namespace
}  // namespace korvena::driver::testing
