#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "korvena/platform/ini_profile.h"

namespace korvena {
namespace {

namespace fs = std::filesystem;

class IniProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("ini_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    file_ = (dir_ / "KVORWXX.INI").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Write(const std::string& content) { std::ofstream(file_, std::ios::binary) << content; }
  std::string Content() {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir_;
  std::string file_;
};

TEST_F(IniProfileTest, NamesMatchWithoutRegardToCaseAndTheFirstMatchWins) {
  Write("[other]\r\nCom=9\r\n[SETTING]\r\ncom = 4 \r\nCOM=5\r\nFileDir=\"C:\\LDX\"\r\n[Setting]\r\nTimeout=7\r\n");
  EXPECT_EQ(ReadProfileInt(file_, "Setting", "Com", 1), 4);
  EXPECT_EQ(ReadProfileString(file_, "setting", "filedir", ""), "C:\\LDX");
  EXPECT_EQ(ReadProfileInt(file_, "Setting", "Timeout", 100), 100) << "only the first section counts";
  EXPECT_EQ(ReadProfileInt(fs::path(dir_ / "missing.ini").string(), "Setting", "Com", 1), 1);
}

TEST_F(IniProfileTest, IntegersReadLikeTheProfileApi) {
  struct Case {
    std::string value;
    int32_t expected;
  } cases[] = {{"20", 20}, {" 9000 ", 9000}, {"-3", -3}, {"+8", 8}, {"abc", 0}, {"12x", 12},
               {"", 0},   {"4294967297", 1}};
  for (const Case& c : cases) {
    Write("[Setting]\nTimeout=" + c.value + "\n");
    EXPECT_EQ(ReadProfileInt(file_, "Setting", "Timeout", 100), c.expected) << "'" << c.value << "'";
  }
}

TEST_F(IniProfileTest, WholeIntegersAreKeptForRangeChecks) {
  Write("[Setting]\nCom=4294967297\nNeg=-300\nHuge=99999999999999999999999\n");
  const IniProfile ini = IniProfile::Load(file_);
  EXPECT_EQ(ini.Int64("Setting", "Com", 1), 4294967297);
  EXPECT_EQ(ini.Int("Setting", "Com", 1), 1) << "the 32-bit reading wraps";
  EXPECT_EQ(ini.Int64("Setting", "Neg", 0), -300);
  EXPECT_GT(ini.Int64("Setting", "Huge", 0), int64_t{1} << 40) << "saturates instead of overflowing";
  EXPECT_EQ(ini.Int64("Setting", "Missing", 7), 7);
}

TEST_F(IniProfileTest, WritingOneKeyKeepsEveryOtherLine) {
  const std::string before = "; till 3\r\n[Setting]\r\nCom=2\r\nbaudrate = 9600\r\n\r\n[Other]\r\nX=1\r\n";
  Write(before);
  ASSERT_TRUE(WriteProfileString(file_, "SETTING", "BaudRate", "38400"));
  EXPECT_EQ(Content(), "; till 3\r\n[Setting]\r\nCom=2\r\nbaudrate=38400\r\n\r\n[Other]\r\nX=1\r\n");
}

TEST_F(IniProfileTest, AMissingKeyIsAddedAtTheEndOfItsSection) {
  Write("[Setting]\nCom=2\n\n[Other]\nX=1\n");
  ASSERT_TRUE(WriteProfileString(file_, "Setting", "BaudRate", "38400"));
  EXPECT_EQ(Content(), "[Setting]\nCom=2\nBaudRate=38400\n\n[Other]\nX=1\n");
}

TEST_F(IniProfileTest, AMissingSectionOrFileIsCreated) {
  ASSERT_TRUE(WriteProfileString(file_, "Setting", "BaudRate", "19200"));
  EXPECT_EQ(Content(), "[Setting]\r\nBaudRate=19200\r\n");
  Write("[Other]\r\nX=1");
  ASSERT_TRUE(WriteProfileString(file_, "Setting", "BaudRate", "19200"));
  EXPECT_EQ(Content(), "[Other]\r\nX=1\r\n\r\n[Setting]\r\nBaudRate=19200\r\n");
  EXPECT_EQ(ReadProfileString(file_, "Setting", "BaudRate", ""), "19200");
}

TEST_F(IniProfileTest, AFileNamedInOtherCaseIsReadAndWritten) {
  const std::string lower = (dir_ / "kvorwxx.ini").string();
  std::ofstream(lower) << "[Setting]\nCom=6\n";
  const std::string asNamed = (dir_ / "KvorWxx.ini").string();
  EXPECT_EQ(ReadProfileInt(asNamed, "Setting", "Com", 1), 6);
  ASSERT_TRUE(WriteProfileString(asNamed, "Setting", "Com", "7"));
  EXPECT_FALSE(fs::exists(asNamed) && fs::equivalent(asNamed, lower) == false);
  EXPECT_EQ(ReadProfileInt(lower, "Setting", "Com", 1), 7);
}

TEST_F(IniProfileTest, AnUnwritableDirectoryFailsWithoutTouchingAnything) {
  EXPECT_FALSE(WriteProfileString((dir_ / "no" / "such" / "dir.ini").string(), "Setting", "Com", "1"));
}

}  // namespace
}  // namespace korvena
