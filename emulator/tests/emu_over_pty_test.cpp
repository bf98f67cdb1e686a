// korvena-emu as a person and the programs meet it: what it refuses before
// serving, its link, its state file's lock, and the line it hands from one
// till to the next.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "korvena/emulator/emu_process.h"
#include "korvena/link/command_link.h"
#include "korvena/link/korvport_port.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::emu {
namespace {

bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::string LinkTarget(const std::string& path) {
  char target[PATH_MAX];
  const ssize_t length = readlink(path.c_str(), target, sizeof target);
  return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : "";
}

bool IsLink(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// 0 when a user without privileges can open `path` now, else the errno he
// gets. The administrator may open a line in exclusive mode, so a test run
// as root asks a child that has become nobody.
int OpenAsOrdinaryUser(const std::string& path) {
  const auto tryOpen = [&path] {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno;
    close(fd);
    return 0;
  };
  if (geteuid() != 0) return tryOpen();
  chmod(path.c_str(), 0666);
  const pid_t child = fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(255);
    _exit(tryOpen());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Opens COM `com` as a program of the suite does, asks `command` and closes
// the port again: the device's answer.
std::string AskOnce(int com, const std::string& command) {
  KorvportPort port;
  SystemClock clock;
  CommandLink commands(port, clock);
  if (port.Open(com, 9600) != 1) return "(the port does not open)";
  const std::string answer = commands.SendText(command) ? commands.ReadResponse(1000) : "(not sent)";
  port.Close();
  return answer;
}

// A till in a process of its own: it opens COM `com` through the port
// library and holds it until it is told to close it, or is killed. A process
// of its own, since the port library keeps one port for the whole process.
class Till {
 public:
  explicit Till(int com) {
    if (pipe(toTill_) != 0 || pipe(fromTill_) != 0) return;
    pid_ = fork();
    if (pid_ == 0) Serve(com);
    close(toTill_[0]);
    close(fromTill_[1]);
    opened_ = Receive() == "opened";
  }
  ~Till() { Close(); }

  bool opened() const { return opened_; }
  // The device's answer to `command`.
  std::string Ask(const std::string& command) { return Order('A', command); }
  // Sends `bytes` and reads nothing.
  void Send(const std::string& bytes) { Order('S', bytes); }
  // Closes the port as a till that ends well does.
  void Close() { End(0); }
  // Dies with the port open.
  void Kill() { End(SIGKILL); }

 private:
  [[noreturn]] void Serve(int com) {
    close(toTill_[1]);
    close(fromTill_[0]);
    KorvportPort port;
    SystemClock clock;
    CommandLink link(port, clock);
    Reply(port.Open(com, 9600) == 1 ? "opened" : "refused");
    for (std::string order = Receive(); !order.empty(); order = Receive()) {
      const std::string bytes = order.substr(1);
      if (order[0] == 'A') {
        link.SendText(bytes);
        Reply(link.ReadResponse(1000));
      } else {
        port.Write(bytes.data(), 0, static_cast<int32_t>(bytes.size()));
        Reply("sent");
      }
    }
    port.Close();
    _exit(0);
  }

  // Messages between the two processes: a length, then the bytes.
  void Reply(const std::string& text) const { Put(fromTill_[1], text); }
  std::string Receive() const { return Get(pid_ == 0 ? toTill_[0] : fromTill_[0]); }
  static void Put(int fd, const std::string& text) {
    const uint32_t size = static_cast<uint32_t>(text.size());
    if (write(fd, &size, sizeof size) == sizeof size) {
      for (std::size_t sent = 0; sent < text.size();) {
        const ssize_t n = write(fd, text.data() + sent, text.size() - sent);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
      }
    }
  }
  static std::string Get(int fd) {
    uint32_t size = 0;
    if (read(fd, &size, sizeof size) != sizeof size) return "";
    std::string text(size, '\0');
    for (std::size_t got = 0; got < size;) {
      const ssize_t n = read(fd, text.data() + got, size - got);
      if (n <= 0) return "";
      got += static_cast<std::size_t>(n);
    }
    return text;
  }
  std::string Order(char kind, const std::string& bytes) {
    if (pid_ <= 0) return "";
    Put(toTill_[1], std::string(1, kind) + bytes);
    return Receive();
  }
  void End(int signal) {
    if (pid_ <= 0) return;
    if (signal != 0) kill(pid_, signal);
    close(toTill_[1]);
    waitpid(pid_, nullptr, 0);
    close(fromTill_[0]);
    pid_ = -1;
  }

  pid_t pid_ = -1;
  int toTill_[2] = {-1, -1};
  int fromTill_[2] = {-1, -1};
  bool opened_ = false;
};

// What a case of the table below puts at the path it names.
enum class Planted {
  kNone,          // the value is given as it is, not a path
  kTheFile,       // the path is the file "kept" itself
  kLinkToTheFile, // a symbolic link to "kept"
  kFifo,
  kDanglingLink,  // a link into a folder that does not exist
};

void Plant(Planted planted, const ScratchFolder& dir, const std::string& path) {
  if (planted == Planted::kLinkToTheFile) symlink((dir / "kept").c_str(), path.c_str());
  if (planted == Planted::kFifo) mkfifo(path.c_str(), 0644);
  if (planted == Planted::kDanglingLink) symlink((dir / "missing/file").c_str(), path.c_str());
}

TEST(KorvenaEmu, RefusesBeforeServingWhatItMustNotTouch) {
  const struct {
    const char* what;
    const char* option;
    const char* value;  // a name in the test's folder unless Planted::kNone
    Planted planted;
    int status;
    const char* message;
  } cases[] = {
      {"a password of letters", "--password", "abc", Planted::kNone, 2, "bad value for --password: abc"},
      {"a password of twelve digits", "--password", "123456789012", Planted::kNone, 2,
       "bad value for --password: 123456789012"},
      {"--link over a file", "--link", "kept", Planted::kTheFile, 1, "cannot make the link"},
      {"--log through a link", "--log", "log", Planted::kLinkToTheFile, 1, "cannot open the frame log"},
      {"--journal through a link", "--journal", "journal", Planted::kLinkToTheFile, 1, "cannot open the journal"},
      {"--log on a FIFO", "--log", "fifo", Planted::kFifo, 1, "cannot open the frame log"},
      {"--state that cannot be written", "--state", "device.state", Planted::kDanglingLink, 1,
       "cannot write the state file"},
  };
  int com = 10;
  for (const auto& c : cases) {
    ScratchFolder dir;
    dir.Write("kept", "important");
    const std::string value = c.planted == Planted::kNone ? c.value : dir / c.value;
    Plant(c.planted, dir, value);
    EmuProcess emulator;
    EXPECT_FALSE(emulator.Start({c.option, value}, ++com)) << c.what << ": it serves";
    EXPECT_EQ(emulator.exitStatus(), c.status) << c.what;
    EXPECT_NE(emulator.errors().find(std::string("korvena-emu: ") + c.message), std::string::npos)
        << c.what << ": " << emulator.errors();
    EXPECT_EQ(dir.Read("kept"), "important") << c.what;
  }
}

TEST(KorvenaEmu, ReplacesALinkAKilledEmulatorLeftAndRemovesItsOwnAtTheEnd) {
  ScratchFolder dir;
  const std::string link = dir / "com1";
  ASSERT_EQ(symlink("/dev/pts/999999", link.c_str()), 0);  // a pseudo-terminal that is gone
  {
    EmuProcess emulator;
    ASSERT_TRUE(emulator.Start({"--link", link}, 18)) << emulator.errors();
    EXPECT_EQ(LinkTarget(link), emulator.path());
    setenv("KORVPORT_COM18", link.c_str(), 1);  // a program finds the device through it
    EXPECT_EQ(AskOnce(18, "\x1b;IV;0\r"), "0");
    emulator.Stop();
    EXPECT_EQ(emulator.exitStatus(), 0);
    EXPECT_FALSE(IsLink(link)) << "its own link goes with it";
  }
  EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--link", link}, 18)) << emulator.errors();
  ASSERT_EQ(unlink(link.c_str()), 0);
  dir.Write("com1", "someone's file");
  emulator.Stop();
  EXPECT_EQ(dir.Read("com1"), "someone's file") << "what took the link's place is not the emulator's";
}

TEST(KorvenaEmu, OneStateFileServesOneEmulatorAtATime) {
  ScratchFolder dir;
  const std::string state = dir / "device.state";
  const std::string alias = dir / "alias.state";
  ASSERT_EQ(symlink("device.state", alias.c_str()), 0);
  EmuProcess first;
  ASSERT_TRUE(first.Start({"--state", state}, 19)) << first.errors();
  // A write of the first one in progress, as far as anyone can tell.
  const std::string temporary = dir.Write(".device.state.0123456789abcdef~", "half");
  for (const std::string& name : {state, alias}) {
    EmuProcess second;
    EXPECT_FALSE(second.Start({"--state", name}, 20)) << name;
    EXPECT_EQ(second.exitStatus(), 1) << name;
    EXPECT_NE(second.errors().find("korvena-emu: the state file " + name + " is in use by another korvena-emu"),
              std::string::npos)
        << second.errors();
  }
  EXPECT_TRUE(dir.Has(".device.state.0123456789abcdef~")) << "the second touched nothing of the first's";

  setenv("KORVPORT_COM19", first.path().c_str(), 1);
  EXPECT_EQ(AskOnce(19, "\x1b;IV;0\r"), "0") << "the first serves on";
  first.Stop();

  EmuProcess next;
  ASSERT_TRUE(next.Start({"--state", alias}, 20)) << "the lock ends with its holder: " << next.errors();
  EXPECT_FALSE(dir.Has(".device.state.0123456789abcdef~")) << "left by a run that ended mid-write";
  next.Stop();
  EXPECT_TRUE(IsLink(alias)) << "a state file that is a link stays one";
}

TEST(KorvenaEmu, AChangeThatCannotBeSavedIsNotConfirmedAndEndsTheRun) {
  ScratchFolder dir;
  const std::string state = dir / "device.state";
  EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--state", state}, 9)) << emulator.errors();
  EXPECT_EQ(AskOnce(9, "\x1b;STPASS;0;4711\r"), "0");

  // Nothing can replace a folder.
  ASSERT_EQ(unlink(state.c_str()), 0);
  ASSERT_EQ(mkdir(state.c_str(), 0755), 0);
  EXPECT_EQ(AskOnce(9, "\x1b;IV;0\r"), "0") << "a query changes nothing and is answered";
  EXPECT_EQ(AskOnce(9, "\x1b;STPASS;4711;1234\r"), "") << "no success for a change that was not kept";
  ASSERT_TRUE(emulator.Wait(5000)) << "it serves on";
  EXPECT_EQ(emulator.exitStatus(), 1);
  EXPECT_NE(emulator.errors().find("korvena-emu: cannot write the state file " + state), std::string::npos)
      << emulator.errors();
}

TEST(KorvenaEmu, ATillKilledWithThePortOpenLeavesItFreeAndTakesItsAnswersAlong) {
  EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--info", "5=LEFT OVER", "--info", "7=fresh"}, 10));
  {
    Till till(10);
    ASSERT_TRUE(till.opened());
    EXPECT_EQ(OpenAsOrdinaryUser(emulator.path()), EBUSY) << "the till holds the line";
    // More answers than the pseudo-terminal holds, none of them read.
    std::string questions;
    for (int i = 0; i < 3000; ++i) questions += "\x1b;IV;5\r";
    till.Send(questions);
    till.Kill();
  }
  EXPECT_TRUE(Eventually([&] { return OpenAsOrdinaryUser(emulator.path()) == 0; }))
      << "the exclusive mode outlived the till";

  EXPECT_EQ(AskOnce(10, "\x1b;IV;7\r"), "fresh") << "the next program gets none of the dead till's answers";
}

TEST(KorvenaEmu, WhileATillHoldsThePortNoOtherProgramGetsIt) {
  EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({}, 8));
  Till holder(8);
  ASSERT_TRUE(holder.opened());
  {
    Till second(8);
    EXPECT_FALSE(second.opened()) << "the port library refuses a second till (the driver's 7)";
  }
  EXPECT_EQ(OpenAsOrdinaryUser(emulator.path()), EBUSY);
  // Someone allowed past the exclusive mode comes and goes; the line stays
  // the till's. Its next answer shows the emulator has seen them go.
  const int visitor = open(emulator.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (visitor >= 0) close(visitor);
  EXPECT_EQ(holder.Ask("\x1b;IV;0\r"), "0");
  EXPECT_EQ(OpenAsOrdinaryUser(emulator.path()), EBUSY) << "still the till's";
  holder.Close();
  EXPECT_EQ(OpenAsOrdinaryUser(emulator.path()), 0);
}

}  // namespace
}  // namespace korvena::emu
