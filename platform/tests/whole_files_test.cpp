#include <gtest/gtest.h>
#include <sys/stat.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>

#include "korvena/platform/ini_profile.h"
#include "korvena/platform/scratch_folder.h"
#include "korvena/platform/whole_files.h"

namespace korvena {
namespace {

namespace fs = std::filesystem;

TEST(ReadWholeFile, ReadsOnlyRegularFilesUpToTheLimitAndNeverBlocks) {
  ScratchFolder dir;
  dir.Write("four", "1234");
  dir.Write("Mixed.Case", "x");
  fs::create_directory(dir / "folder");
#if !defined(_WIN32)
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
#endif
  const struct {
    std::string name;
    std::size_t limit;
    FileContents::Status status;
    std::string bytes;
  } cases[] = {
      {"four", 4, FileContents::kRead, "1234"},
      {"four", 3, FileContents::kTooLarge, ""},
      {"MIXED.CASE", 10, FileContents::kRead, "x"},
      {"missing", 10, FileContents::kMissing, ""},
      {"folder", 10, FileContents::kUnreadable, ""},
#if !defined(_WIN32)
      {"fifo", 10, FileContents::kUnreadable, ""},  // opening it for reading would wait for a writer
#endif
  };
  for (const auto& c : cases) {
    const FileContents file = ReadWholeFile(dir / c.name, c.limit);
    EXPECT_EQ(file.status, c.status) << c.name;
    EXPECT_EQ(file.bytes, c.bytes) << c.name;
  }
}

TEST(WriteWholeFile, NeverFollowsOrTouchesWhatLiesUnderATemporaryName) {
  ScratchFolder dir;
  const std::string victim = dir.Write("victim", "precious");
  const std::string squatter = dir.Write("squatter", "mine");
#if defined(_WIN32)
  dir.Write("link.tmp", "taken");  // links need privileges there; a file takes the name all the same
  dir.Write("dangling.tmp", "taken");
#else
  ASSERT_EQ(symlink(victim.c_str(), (dir / "link.tmp").c_str()), 0);
  ASSERT_EQ(symlink((dir / "nowhere").c_str(), (dir / "dangling.tmp").c_str()), 0);
#endif
  int asked = 0;
  const TemporaryNames planted = [&](const std::string&) {
    const char* names[] = {"link.tmp", "dangling.tmp", "squatter", "free.tmp"};
    return dir / names[std::min(asked++, 3)];
  };
  ASSERT_TRUE(WriteWholeFile(dir / "KORVENA.LDX", "data", planted));
  EXPECT_EQ(asked, 4) << "each taken name is passed over";
  EXPECT_EQ(dir.Read("KORVENA.LDX"), "data");
  EXPECT_EQ(dir.Read("victim"), "precious");
  EXPECT_EQ(dir.Read("squatter"), "mine");
  EXPECT_FALSE(fs::exists(dir / "nowhere")) << "a dangling link is not followed into a new file";
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"KORVENA.LDX", "dangling.tmp", "link.tmp", "squatter", "victim"}));
}

TEST(WriteWholeFile, ReplacesTheFileOfAnyCaseAndKeepsItsPermissions) {
  ScratchFolder dir;
  const std::string old = dir.Write("korvena.ldx", "old");
#if !defined(_WIN32)
  ASSERT_EQ(chmod(old.c_str(), 0640), 0);
#endif
  ASSERT_TRUE(WriteWholeFile(dir / "KORVENA.LDX", "new"));
  EXPECT_EQ(dir.Read("korvena.ldx"), "new");
#if !defined(_WIN32)
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"korvena.ldx"});
  EXPECT_EQ(fs::status(old).permissions(), fs::perms(0640));
#endif
  EXPECT_FALSE(WriteWholeFile(dir / "no/such/folder/file", "x"));
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"korvena.ldx"}) << "nothing left behind";
}

#if !defined(_WIN32)
TEST(AppendToFile, CreatesAndAppendsButNeverThroughALink) {
  ScratchFolder dir;
  ASSERT_TRUE(AppendToFile(dir / "day.tx", "ab"));
  ASSERT_TRUE(AppendToFile(dir / "DAY.TX", "cd"));
  EXPECT_EQ(dir.Read("day.tx"), "abcd");
  const std::string victim = dir.Write("victim", "precious");
  ASSERT_EQ(symlink(victim.c_str(), (dir / "planted.tx").c_str()), 0);
  EXPECT_FALSE(AppendToFile(dir / "planted.tx", "x"));
  EXPECT_EQ(dir.Read("victim"), "precious");
}

#endif

// A configuration file that is not one reads as missing: defaults, at once,
// without the memory a whole read would take.
TEST(IniProfileBounds, OversizedOrSpecialFilesReadAsMissing) {
  ScratchFolder dir;
  dir.Write("big.ini", "[Setting]\r\nCom=4\r\n" + std::string(10 << 20, '\n'));
  dir.Write("fits.ini", "[Setting]\r\nCom=4\r\n" + std::string((1 << 20) - 18, '\n'));
#if !defined(_WIN32)
  ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0600), 0);
  EXPECT_EQ(ReadProfileInt(dir / "fifo.ini", "Setting", "Com", 1), 1);
#endif
  EXPECT_EQ(ReadProfileInt(dir / "big.ini", "Setting", "Com", 1), 1);
  EXPECT_EQ(ReadProfileInt(dir / "fits.ini", "Setting", "Com", 1), 4) << "exactly 1 MiB is still read";
  EXPECT_FALSE(WriteProfileString(dir / "big.ini", "Setting", "BaudRate", "19200"))
      << "a file that could not be read is not replaced by one key";
  EXPECT_EQ(fs::file_size(dir / "big.ini"), 18u + (10u << 20));
}

}  // namespace
}  // namespace korvena
