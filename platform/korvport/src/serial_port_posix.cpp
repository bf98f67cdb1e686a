#include "serial_port.h"

#include "korvena/platform/line_settings.h"
#include "korvena/platform/tick_clock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace korvena {
namespace {

// A write that makes no progress for this long has lost its line.
constexpr int kWriteStallMs = 2000;
// The kernel may end a poll late by a thousandth of its time (30 ms of a
// 30 s wait), and a deadline must not stretch by more than a poll of Read
// would: longer waits are made of polls this long.
constexpr uint32_t kLongestPollMs = 1000;

// What is left of `ms` counted from `start`.
uint32_t RestOf(uint32_t ms, uint32_t start) {
  const uint32_t passed = TicksSince(start, TickCount());
  return passed < ms ? ms - passed : 0;
}

}  // namespace

std::string ComDevicePath(int32_t port) {
  if (port < 1 || port > 20) return {};
  const std::string variable = "KORVPORT_COM" + std::to_string(port);
  if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0') return path;
  return "/dev/ttyS" + std::to_string(port - 1);
}

bool SerialPort::RefuseForSystemError(unsigned long error, const std::string& what) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO:
      return Refuse(KORVPORT_NO_DEVICE, what);
    case EACCES:
    case EPERM:
    case EROFS:
      return Refuse(KORVPORT_NO_PERMISSION, what);
    case EBUSY:
    case EWOULDBLOCK:  // the lock of another program of the suite
      return Refuse(KORVPORT_BUSY, what);
    default:
      return Refuse(KORVPORT_SYSTEM_ERROR, what, std::system_category().message(static_cast<int>(error)));
  }
}

bool SerialPort::Open(int32_t port, int32_t baud) {
  Close();
  const std::string path = ComDevicePath(port);
  if (path.empty()) return Refuse(KORVPORT_NO_DEVICE, "COM" + std::to_string(port));
  if (!IsPlausibleBaud(baud)) return Refuse(KORVPORT_BAD_RATE, std::to_string(baud));
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return RefuseForSystemError(static_cast<unsigned long>(errno), path);
  // One process at a time owns a COM port: the lock keeps out the suite's
  // other programs, the tty's exclusive mode anything else that opens it
  // afterwards (a terminal program, say), which would share our bytes.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
    const int error = errno;
    ::close(fd);
    return RefuseForSystemError(static_cast<unsigned long>(error), path);
  }
  errno = 0;
  if (!SetRawLine(fd, static_cast<uint32_t>(baud))) {
    // A line that takes other settings but not the rate leaves errno alone
    // (the rate read back differs) or says EINVAL.
    const int error = errno;
    ioctl(fd, TIOCNXCL);
    ::close(fd);
    if (error == 0 || error == EINVAL) return Refuse(KORVPORT_BAD_RATE, std::to_string(baud) + " on " + path);
    return RefuseForSystemError(static_cast<unsigned long>(error), path);
  }
  fd_ = fd;
  return Opened();
}

bool SerialPort::IsOpen() const { return fd_ >= 0; }

bool SerialPort::Close() {
  if (fd_ < 0) return true;
  const int fd = fd_;
  fd_ = -1;
  bufferStart_ = bufferEnd_ = 0;
  // The mode belongs to the line, not to our descriptor: a line that someone
  // else keeps open (the emulator's pseudo-terminal) would stay closed to
  // the next program.
  ioctl(fd, TIOCNXCL);
  return ::close(fd) == 0;
}

bool SerialPort::FillBuffer(uint32_t waitMs) {
  const uint32_t start = TickCount();
  pollfd ready{fd_, POLLIN, 0};
  int polled = 0;
  for (;;) {
    const uint32_t rest = RestOf(waitMs, start);
    ready.revents = 0;
    polled = poll(&ready, 1, static_cast<int>(std::min(rest, kLongestPollMs)));
    if (polled < 0 && errno == EINTR) continue;  // a signal is no answer: wait on
    if (polled != 0) break;
    if (rest <= kLongestPollMs) return false;  // waited the whole time, nothing came
  }
  const ssize_t got = polled > 0 && (ready.revents & POLLIN) != 0 ? ::read(fd_, buffer_, sizeof buffer_) : -1;
  if (got <= 0) {
    // A line whose other end is gone (hang-up, unplugged adapter) reports
    // itself at once on every poll. Waiting here keeps the callers' polling
    // loops from spinning until their deadlines.
    SleepMilliseconds(RestOf(waitMs, start));
    return false;
  }
  bufferStart_ = 0;
  bufferEnd_ = static_cast<std::size_t>(got);
  return true;
}

bool SerialPort::WriteBytes(const uint8_t* bytes, std::size_t count) {
  if (fd_ < 0) return false;
  std::size_t sent = 0;
  while (sent < count) {
    const ssize_t n = ::write(fd_, bytes + sent, count - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd ready{fd_, POLLOUT, 0};
    if (poll(&ready, 1, kWriteStallMs) <= 0) return false;
  }
  return true;
}

bool SerialPort::SetSpeed(int32_t baud) {
  return fd_ >= 0 && IsPlausibleBaud(baud) && SetLineSpeed(fd_, static_cast<uint32_t>(baud));
}

void SerialPort::DiscardInput() {
  bufferStart_ = bufferEnd_ = 0;
  if (fd_ < 0) return;
  uint8_t scrap[4096];
  while (::read(fd_, scrap, sizeof scrap) > 0) {
  }
}

}  // namespace korvena
