#include <gtest/gtest.h>
#include <sys/stat.h>
#if !defined(_WIN32)
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>

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
// Every kind of thing that may already lie where a file is written.
enum class Planted { kNothing, kRegular, kLinkToRegular, kDanglingLink, kFifo, kSocket, kFolder, kDevice, kLinkToFifo };

struct PlantedPath {
  std::string path;
  std::string victim;  // a link's target, which must keep its bytes unless written through
  bool planted = true;
};

PlantedPath Plant(const ScratchFolder& dir, Planted kind) {
  const std::string path = dir / "target";
  PlantedPath result{path, dir / "victim"};
  switch (kind) {
    case Planted::kNothing:
      break;
    case Planted::kRegular:
      dir.Write("target", "old");
      EXPECT_EQ(chmod(path.c_str(), 0640), 0);
      break;
    case Planted::kLinkToRegular:
      dir.Write("victim", "old");
      EXPECT_EQ(chmod(result.victim.c_str(), 0604), 0);
      EXPECT_EQ(symlink(result.victim.c_str(), path.c_str()), 0);
      break;
    case Planted::kDanglingLink:
      EXPECT_EQ(symlink(result.victim.c_str(), path.c_str()), 0);
      break;
    case Planted::kFifo:
      EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
      break;
    case Planted::kSocket: {
      const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
      EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
      close(fd);
      break;
    }
    case Planted::kFolder:
      fs::create_directory(path);
      break;
    case Planted::kDevice:
      // The null device's numbers; only root may make a node.
      result.planted = mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
      break;
    case Planted::kLinkToFifo:
      EXPECT_EQ(mkfifo(result.victim.c_str(), 0600), 0);
      EXPECT_EQ(symlink(result.victim.c_str(), path.c_str()), 0);
      break;
  }
  return result;
}

fs::file_type TypeAt(const std::string& path) { return fs::symlink_status(path).type(); }

TEST(WriteWholeFile, ReplacesOnlyARegularFileOrNothingAndWritesThroughALink) {
  const mode_t oldMask = umask(027);
  const struct {
    Planted kind;
    bool written;
    int error;
    fs::file_type typeAfter;  // what lies at the path afterwards
    fs::perms modeOfWritten;
  } cases[] = {
      {Planted::kNothing, true, 0, fs::file_type::regular, fs::perms(0640)},  // 0666 less the umask
      {Planted::kRegular, true, 0, fs::file_type::regular, fs::perms(0640)},
      {Planted::kLinkToRegular, true, 0, fs::file_type::symlink, fs::perms(0604)},
      {Planted::kDanglingLink, false, ENOENT, fs::file_type::symlink, {}},
      {Planted::kFifo, false, EINVAL, fs::file_type::fifo, {}},
      {Planted::kSocket, false, EINVAL, fs::file_type::socket, {}},
      {Planted::kFolder, false, EISDIR, fs::file_type::directory, {}},
      {Planted::kDevice, false, EINVAL, fs::file_type::character, {}},
      {Planted::kLinkToFifo, false, EINVAL, fs::file_type::symlink, {}},
  };
  for (const auto& c : cases) {
    ScratchFolder dir;
    const PlantedPath planted = Plant(dir, c.kind);
    if (!planted.planted) continue;
    const int kind = static_cast<int>(c.kind);
    errno = 0;
    EXPECT_EQ(WriteWholeFile(planted.path, "new"), c.written) << kind;
    if (!c.written) {
      EXPECT_EQ(errno, c.error) << kind;
    }
    EXPECT_EQ(TypeAt(planted.path), c.typeAfter) << kind;
    if (c.written) {
      const std::string written = c.kind == Planted::kLinkToRegular ? planted.victim : planted.path;
      EXPECT_EQ(dir.Read(fs::path(written).filename()), "new") << kind;
      EXPECT_EQ(fs::status(written).permissions(), c.modeOfWritten) << kind;
    }
    for (const std::string& name : dir.Names()) EXPECT_EQ(name.find('~'), std::string::npos) << kind << " " << name;
  }
  umask(oldMask);
}

TEST(WriteNewFile, WritesOnlyWhereNothingStands) {
  const struct {
    Planted kind;
    bool written;
  } cases[] = {
      {Planted::kNothing, true},  {Planted::kRegular, false}, {Planted::kLinkToRegular, false},
      {Planted::kDanglingLink, false}, {Planted::kFifo, false},
  };
  for (const auto& c : cases) {
    ScratchFolder dir;
    const PlantedPath planted = Plant(dir, c.kind);
    const int kind = static_cast<int>(c.kind);
    errno = 0;
    EXPECT_EQ(WriteNewFile(planted.path, "partial"), c.written) << kind;
    if (!c.written) {
      EXPECT_EQ(errno, EEXIST) << kind;
    }
    const bool holdsOld = c.kind == Planted::kRegular || c.kind == Planted::kLinkToRegular;
    if (c.kind != Planted::kFifo) {
      EXPECT_EQ(dir.Read("target"), c.written ? "partial" : holdsOld ? "old" : "") << kind;
    }
    EXPECT_EQ(c.kind == Planted::kLinkToRegular ? dir.Read("victim") : "old", "old") << kind;
    EXPECT_FALSE(c.kind == Planted::kDanglingLink && fs::exists(planted.victim)) << "not created through the link";
    for (const std::string& name : dir.Names()) EXPECT_EQ(name.find('~'), std::string::npos) << kind << " " << name;
  }
}

// Logs and the day's record are appended, never followed or blocked on.
TEST(AppendToFile, AppendsToARegularFileOnlyAndNeverThroughALink) {
  const struct {
    Planted kind;
    int error;  // 0: appended
  } cases[] = {
      {Planted::kNothing, 0}, {Planted::kRegular, 0},  {Planted::kLinkToRegular, ELOOP},
      {Planted::kDanglingLink, ELOOP}, {Planted::kFifo, EINVAL}, {Planted::kFolder, EINVAL},
      {Planted::kDevice, EINVAL},
  };
  for (const auto& c : cases) {
    ScratchFolder dir;
    const PlantedPath planted = Plant(dir, c.kind);
    if (!planted.planted) continue;
    const int kind = static_cast<int>(c.kind);
    // Only a regular file is read: opening a FIFO to read it would wait.
    const std::string before = c.kind == Planted::kRegular ? dir.Read("target") : "";
    errno = 0;
    EXPECT_EQ(AppendToFile(planted.path, "ab"), c.error == 0) << kind;
    if (c.error != 0) {
      EXPECT_EQ(errno, c.error) << kind;
    }
    std::FILE* log = OpenLogFile(planted.path, LogStart::kAppend);
    EXPECT_EQ(log != nullptr, c.error == 0) << kind;
    if (log != nullptr) {
      std::fputs("cd", log);
      std::fclose(log);
      EXPECT_EQ(dir.Read("target"), before + "abcd") << kind;
      log = OpenLogFile(planted.path, LogStart::kEmpty);
      ASSERT_NE(log, nullptr);
      std::fputs("e", log);
      std::fclose(log);
      EXPECT_EQ(dir.Read("target"), "e") << kind;
    }
    EXPECT_EQ(c.kind == Planted::kLinkToRegular ? dir.Read("victim") : "old", "old") << kind;
  }
  ScratchFolder dir;
  ASSERT_TRUE(AppendToFile(dir / "day.tx", "ab"));
  ASSERT_TRUE(AppendToFile(dir / "DAY.TX", "cd"));
  EXPECT_EQ(dir.Read("day.tx"), "abcd") << "the name of any letter case";
}

TEST(RemoveStaleTemporaryFiles, RemovesOnlyTheWritersOwnLeftoversOfThatFile) {
  ScratchFolder dir;
  const std::string victim = dir.Write("victim", "precious");
  dir.Write(".state.0123456789abcdef~", "stale");
  dir.Write(".state.fedcba9876543210~", "stale");
  dir.Write(".state.0123456789ABCDEF~", "not ours: upper case");
  dir.Write(".state.0123~", "not ours: too short");
  dir.Write(".other.0123456789abcdef~", "another file's");
  dir.Write("state", "kept");
  ASSERT_EQ(symlink(victim.c_str(), (dir / ".state.aaaaaaaaaaaaaaaa~").c_str()), 0);
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir / "state"), 2);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{".other.0123456789abcdef~", ".state.0123456789ABCDEF~",
                                                   ".state.0123~", ".state.aaaaaaaaaaaaaaaa~", "state", "victim"}));
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
