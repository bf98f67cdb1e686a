// The port library on a pseudo-terminal made by the test itself.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "korvena/platform/line_settings.h"
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

}  // namespace
