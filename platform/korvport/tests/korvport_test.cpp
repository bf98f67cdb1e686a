// The port library on a pseudo-terminal made by the test itself.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "korvena/platform/line_settings.h"
#include "korvena/platform/scratch_folder.h"
#include "korvport.h"

namespace {

class KorvportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master_, 0);
    ASSERT_EQ(grantpt(master_), 0);
    ASSERT_EQ(unlockpt(master_), 0);
    path_ = ptsname(master_);
    // Our own hold on the slave keeps the master readable between opens.
    slave_ = open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(slave_, 0);
    setenv("KORVPORT_COM7", path_.c_str(), 1);
  }
  void TearDown() override {
    Close();
    unsetenv("KORVPORT_COM7");
    close(slave_);
    if (master_ >= 0) close(master_);
  }

  // The exclusive mode of the line, seen through another descriptor of it.
  bool LineIsExclusive() {
    int exclusive = 0;
    return ioctl(slave_, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
  }

  std::string DrainMaster() {
    std::string got;
    char buffer[256];
    for (int quiet = 0; quiet < 50;) {
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n > 0) {
        got.append(buffer, static_cast<std::size_t>(n));
        quiet = 0;
      } else {
        ++quiet;
        usleep(200);
      }
    }
    return got;
  }

  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

TEST_F(KorvportTest, RefusesPortsRatesAndPathsItCannotUse) {
  setenv("KORVPORT_COM8", "/nonexistent/tty", 1);
  const struct {
    int32_t port, baud;
  } refused[] = {{0, 9600}, {21, 9600}, {-1, 9600}, {8, 9600}, {7, 0}, {7, -9600}, {7, 40000000}};
  for (const auto& c : refused) EXPECT_EQ(Open(c.port, c.baud), 0) << c.port << " " << c.baud;
  unsetenv("KORVPORT_COM8");
  uint8_t byte = 0;
  EXPECT_EQ(Read(&byte, 0, 1), 0) << "nothing is open";
  EXPECT_EQ(Write("x", 0, 1), 0);
}

TEST_F(KorvportTest, SetsEveryRateOfTheBaudTable) {
  ASSERT_EQ(Open(7, 14400), 1);
  EXPECT_EQ(korvena::LineSpeed(slave_), 14400u);
  for (int32_t baud : {9600, 14400, 19200, 28800, 38400, 57600, 115200}) {
    SetPort(baud);
    EXPECT_EQ(korvena::LineSpeed(slave_), static_cast<uint32_t>(baud));
  }
  SetPort(-5);  // refused: the line keeps its speed
  EXPECT_EQ(korvena::LineSpeed(slave_), 115200u);
}

TEST_F(KorvportTest, CarriesBytesBothWays) {
  ASSERT_EQ(Open(7, 9600), 1);
  const std::string command("\x1b;IV;0\r\0\xff", 9);
  for (const char c : command) ASSERT_EQ(Write(&c, 0, 1), 1);
  ASSERT_EQ(Write("\x04", 144, 1), 1);
  EXPECT_EQ(DrainMaster(), command + "\x04");

  const std::string answer("0\r\n\0\xfe", 5);
  ASSERT_EQ(write(master_, answer.data(), answer.size()), static_cast<ssize_t>(answer.size()));
  std::string got;
  for (int polls = 0; got.size() < answer.size() && polls < 1000; ++polls) {
    uint8_t byte = 0;
    if (Read(&byte, 0, 1) == 1) got.push_back(static_cast<char>(byte));
  }
  EXPECT_EQ(got, answer);
}

TEST_F(KorvportTest, FlushDiscardsWhatWasNotYetRead) {
  ASSERT_EQ(Open(7, 9600), 1);
  ASSERT_EQ(write(master_, "stale", 5), 5);
  usleep(2000);
  uint8_t byte = 0;
  ASSERT_EQ(Read(&byte, 0, 1), 1);  // one byte taken, the rest buffered
  Flush();
  EXPECT_EQ(Read(&byte, 0, 1), 0);
  ASSERT_EQ(write(master_, "Z", 1), 1);
  usleep(2000);
  ASSERT_EQ(Read(&byte, 0, 1), 1);
  EXPECT_EQ(byte, 'Z');
}

TEST_F(KorvportTest, OneProcessAtATimeOwnsThePort) {
  ASSERT_EQ(Open(7, 9600), 1);
  EXPECT_TRUE(LineIsExclusive()) << "a program that does not lock must not share the line either";
  const int refused = open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  // The administrator may open an exclusive line; everybody else is refused.
  if (geteuid() != 0) {
    EXPECT_TRUE(refused < 0 && errno == EBUSY);
  }
  if (refused >= 0) close(refused);
  EXPECT_EQ(Close(), 1);
  EXPECT_FALSE(LineIsExclusive()) << "the next program must be able to open the line";

  ASSERT_EQ(Open(7, 9600), 1);
  ioctl(slave_, TIOCNXCL);  // from here on only the lock is looked at
  const int other = open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(other, 0);
  EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0) << "the port library holds the lock";
  EXPECT_EQ(Close(), 1);
  EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0) << "closing releases it";
  close(other);
  EXPECT_EQ(Close(), 1) << "closing twice is harmless";
}

// A line whose other end has gone away reports a hang-up at once on every
// poll; Read must still wait its short time, or every caller's loop spins a
// core until its deadline.
TEST_F(KorvportTest, AVanishedLineIsWaitedOnNotSpunOn) {
  ASSERT_EQ(Open(7, 9600), 1);
  close(slave_);
  slave_ = -1;
  close(master_);
  master_ = -1;
  constexpr int kReads = 40;
  const auto start = std::chrono::steady_clock::now();
  uint8_t byte = 0;
  for (int i = 0; i < kReads; ++i) EXPECT_EQ(Read(&byte, 0, 1), 0);
  // A lower bound only: a machine under load can make it longer, never shorter.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kReads));
  EXPECT_EQ(Write("x", 0, 1), 0) << "nothing can be sent on a vanished line";
}

TEST_F(KorvportTest, ReopeningClosesThePreviousPort) {
  ASSERT_EQ(Open(7, 9600), 1);
  ASSERT_EQ(Open(7, 19200), 1);
  EXPECT_EQ(korvena::LineSpeed(slave_), 19200u);
}

std::string OpenProblemText() {
  char text[512];
  const int32_t length = OpenErrorText(text, sizeof text);
  return std::string(text, static_cast<std::size_t>(std::min<int32_t>(length, sizeof text - 1)));
}

// The reason Open gives in a process that is no administrator, who may open
// anything: a child that drops to nobody when the test runs as root.
std::string OpenProblemAsAUser(int32_t port) {
  int result[2];
  if (pipe(result) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && setresuid(65534, 65534, 65534) != 0) _exit(1);
    Open(port, 9600);
    const std::string text = OpenProblemText();
    _exit(write(result[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1);
  }
  close(result[1]);
  std::string text;
  char chunk[256];
  for (ssize_t n; (n = read(result[0], chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<std::size_t>(n));
  close(result[0]);
  waitpid(child, nullptr, 0);
  return text;
}

TEST_F(KorvportTest, OpenSaysWhyItFailed) {
  korvena::ScratchFolder dir;
  const std::string plainFile = dir.Write("plain", "");
  setenv("KORVPORT_COM8", "/nonexistent/tty", 1);
  setenv("KORVPORT_COM9", plainFile.c_str(), 1);
  ASSERT_EQ(flock(slave_, LOCK_EX | LOCK_NB), 0) << "another program's hold on COM7";
  const struct {
    const char* what;
    int32_t port, baud, reason;
    std::string text;
  } cases[] = {
      {"no such COM number", 21, 9600, KORVPORT_NO_DEVICE, "no such device: COM21"},
      {"no device at the path", 8, 9600, KORVPORT_NO_DEVICE, "no such device: /nonexistent/tty"},
      {"a rate out of range", 7, 40000000, KORVPORT_BAD_RATE, "bad rate: 40000000"},
      {"held by another program", 7, 9600, KORVPORT_BUSY, "busy, held by another program: " + path_},
      {"no serial line", 9, 9600, KORVPORT_SYSTEM_ERROR,
       "system error: " + plainFile + ": Inappropriate ioctl for device"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Open(c.port, c.baud), 0) << c.what;
    EXPECT_EQ(OpenError(), c.reason) << c.what;
    EXPECT_EQ(OpenProblemText(), c.text) << c.what;
  }
  char cut[5];
  EXPECT_EQ(OpenErrorText(cut, sizeof cut), static_cast<int32_t>(cases[4].text.size())) << "the whole length";
  EXPECT_STREQ(cut, "syst") << "no more than the room given";

  flock(slave_, LOCK_UN);
  ASSERT_EQ(Open(7, 9600), 1);
  EXPECT_EQ(OpenError(), KORVPORT_OPENED);
  EXPECT_EQ(OpenProblemText(), "");
  Close();

  const std::string lockedFile = dir.Write("locked", "");
  chmod(lockedFile.c_str(), 0);
  setenv("KORVPORT_COM10", lockedFile.c_str(), 1);
  EXPECT_EQ(OpenProblemAsAUser(10), "no permission: " + lockedFile);
  for (const char* variable : {"KORVPORT_COM8", "KORVPORT_COM9", "KORVPORT_COM10"}) unsetenv(variable);
}

class WaitReadTest;

// WaitRead on COM7 open at 9600, after the case's preparation.
struct WaitCase {
  const char* what;
  void (*prepare)(WaitReadTest& line);
  int32_t timeoutMs;
  uint8_t ready;
  char byte;  // what Read then gives, when ready
  friend std::ostream& operator<<(std::ostream& os, const WaitCase& c) { return os << c.what; }
};

class WaitReadTest : public KorvportTest, public ::testing::WithParamInterface<WaitCase> {
 public:
  void PeerSends(const char* bytes) { ASSERT_GT(write(master_, bytes, strlen(bytes)), 0); }
  void PeerSendsLater(const char* bytes) {
    peer_ = std::thread([this, bytes] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      PeerSends(bytes);
    });
  }
  void PeerVanishes() {
    close(slave_);
    slave_ = -1;
    close(master_);
    master_ = -1;
  }
  void TearDown() override {
    if (peer_.joinable()) peer_.join();
    KorvportTest::TearDown();
  }

 private:
  std::thread peer_;
};

TEST_P(WaitReadTest, AnswersWhetherAByteCanBeRead) {
  const WaitCase& c = GetParam();
  ASSERT_EQ(Open(7, 9600), 1);
  c.prepare(*this);
  EXPECT_EQ(WaitRead(c.timeoutMs), c.ready);
  if (c.ready == 1) {
    uint8_t byte = 0;
    ASSERT_EQ(Read(&byte, 0, 1), 1) << "a byte that can be read is there at once";
    EXPECT_EQ(byte, c.byte);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WaitReadTest,
    ::testing::Values(
        // Only the library's buffer holds the second byte: the line itself is empty.
        WaitCase{"buffered", [](WaitReadTest& line) {
                   line.PeerSends("ab");
                   uint8_t first = 0;
                   for (int polls = 0; polls < 1000 && Read(&first, 0, 1) == 0; ++polls) {
                   }
                 },
                 0, 1, 'b'},
        WaitCase{"arriving_while_waiting", [](WaitReadTest& line) { line.PeerSendsLater("c"); }, 60000, 1, 'c'},
        WaitCase{"silent", [](WaitReadTest&) {}, 20, 0, 0},
        // poll reports the hang-up at once: no byte for it (that it does not
        // spin either is the link benchmark's to show).
        WaitCase{"other_end_gone", [](WaitReadTest& line) { line.PeerVanishes(); }, 20, 0, 0},
        WaitCase{"nothing_open", [](WaitReadTest&) { Close(); }, 5, 0, 0}),
    [](const auto& p) { return std::string(p.param.what); });

}  // namespace
