// The link of --link replaces only what an emulator could own, and at the
// end removes only what is still its own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <string>

#include "device_link.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::emu {
namespace {

// A pseudo-terminal of the test's own.
class Terminal {
 public:
  Terminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) slave_ = ptsname(master_);
  }
  ~Terminal() {
    if (master_ >= 0) close(master_);
  }
  const std::string& slave() const { return slave_; }

 private:
  int master_ = -1;
  std::string slave_;
};

std::string GoneSlave() {
  for (int n = 100000;; ++n) {
    const std::string path = "/dev/pts/" + std::to_string(n);
    if (access(path.c_str(), F_OK) != 0) return path;
  }
}

// What lies at `path`, in a few words, to tell whether it changed.
std::string Describe(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return "nothing";
  if (S_ISLNK(info.st_mode)) {
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target);
    return "a link to " + std::string(target, static_cast<std::size_t>(length > 0 ? length : 0));
  }
  if (S_ISDIR(info.st_mode)) return "a folder";
  if (S_ISFIFO(info.st_mode)) return "a FIFO";
  return "a file of " + std::to_string(info.st_size) + " bytes";
}

using Plant = std::function<void(const ScratchFolder& dir, const std::string& path)>;

Plant LinkTo(const std::string& target) {
  return [target](const ScratchFolder&, const std::string& path) { ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0); };
}

TEST(DeviceLink, ReplacesNothingButALinkToAPseudoTerminalThatIsGoneOrOurs) {
  const Terminal ours;
  const Terminal other;
  ASSERT_FALSE(ours.slave().empty());
  const struct {
    const char* what;
    Plant plant;
    bool made;
  } cases[] = {
      {"nothing", [](const ScratchFolder&, const std::string&) {}, true},
      {"a link to a pseudo-terminal that is gone", LinkTo(GoneSlave()), true},
      {"a link to our own pseudo-terminal", LinkTo(ours.slave()), true},
      {"a file", [](const ScratchFolder& dir, const std::string&) { dir.Write("com1", "important"); }, false},
      {"a folder", [](const ScratchFolder&, const std::string& path) { ASSERT_EQ(mkdir(path.c_str(), 0755), 0); }, false},
      {"a FIFO", [](const ScratchFolder&, const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }, false},
      {"a link to a file",
       [](const ScratchFolder& dir, const std::string& path) { LinkTo(dir.Write("kept", "important"))(dir, path); },
       false},
      {"a dangling link elsewhere", LinkTo("/nonexistent/com1"), false},
      {"a link to a pseudo-terminal in use", LinkTo(other.slave()), false},
  };
  for (const auto& c : cases) {
    ScratchFolder dir;
    const std::string path = dir / "com1";
    c.plant(dir, path);
    const std::string before = Describe(path);
    {
      DeviceLink link;
      std::string error;
      EXPECT_EQ(link.Make(path, ours.slave(), error), c.made) << c.what << ": " << error;
      if (c.made) {
        EXPECT_EQ(Describe(path), "a link to " + ours.slave()) << c.what;
      } else {
        EXPECT_EQ(Describe(path), before) << c.what << ": left as it was";
        EXPECT_NE(error.find("cannot make the link " + path + ": "), std::string::npos) << error;
      }
    }
    EXPECT_EQ(Describe(path), c.made ? "nothing" : before) << c.what << ": after the end";
    if (dir.Has("kept")) {
      EXPECT_EQ(dir.Read("kept"), "important") << c.what;
    }
  }
}

TEST(DeviceLink, AtTheEndLeavesWhatTookItsPlace) {
  const Terminal ours;
  const Terminal other;
  const struct {
    const char* what;
    Plant plant;
  } replacements[] = {
      {"a file", [](const ScratchFolder& dir, const std::string&) { dir.Write("com1", "someone's"); }},
      {"a link elsewhere", LinkTo(other.slave())},
  };
  for (const auto& r : replacements) {
    ScratchFolder dir;
    const std::string path = dir / "com1";
    DeviceLink link;
    std::string error;
    ASSERT_TRUE(link.Make(path, ours.slave(), error)) << error;
    ASSERT_EQ(unlink(path.c_str()), 0);
    r.plant(dir, path);
    const std::string placed = Describe(path);
    link.Remove();
    EXPECT_EQ(Describe(path), placed) << r.what;
  }
}

}  // namespace
}  // namespace korvena::emu
