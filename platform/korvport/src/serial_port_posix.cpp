#include "serial_port.h"

#include "korvena/platform/line_settings.h"
#include "korvena/platform/tick_clock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace korvena {
namespace {

// How long one Read waits for a byte before answering "none"; callers poll in
// a loop against their own deadlines, so this only has to keep them off the CPU.
constexpr int kReadWaitMs = 1;
// A write that makes no progress for this long has lost its line.
constexpr int kWriteStallMs = 2000;

}  // namespace

std::string ComDevicePath(int32_t port) {
  if (port < 1 || port > 20) return {};
  const std::string variable = "KORVPORT_COM" + std::to_string(port);
  if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0') return path;
  return "/dev/ttyS" + std::to_string(port - 1);
}

bool SerialPort::Open(int32_t port, int32_t baud) {
  Close();
  const std::string path = ComDevicePath(port);
  if (path.empty() || !IsPlausibleBaud(baud)) return false;
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  // One process at a time owns a COM port: the lock keeps out the suite's
  // other programs, the tty's exclusive mode anything else that opens it
  // afterwards (a terminal program, say), which would share our bytes.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0 || !SetRawLine(fd, static_cast<uint32_t>(baud))) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  DiscardInput();
  return true;
}

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

bool SerialPort::FillBuffer(int waitMs) {
  pollfd ready{fd_, POLLIN, 0};
  const int polled = poll(&ready, 1, waitMs);
  if (polled == 0) return false;  // waited the whole time, nothing came
  const ssize_t got = polled > 0 && (ready.revents & POLLIN) != 0 ? ::read(fd_, buffer_, sizeof buffer_) : -1;
  if (got <= 0) {
    // A line whose other end is gone (hang-up, unplugged adapter) reports
    // itself at once on every poll. Waiting here keeps the callers' polling
    // loops from spinning until their deadlines.
    SleepMilliseconds(static_cast<uint32_t>(waitMs));
    return false;
  }
  bufferStart_ = 0;
  bufferEnd_ = static_cast<std::size_t>(got);
  return true;
}

bool SerialPort::ReadByte(uint8_t& byte) {
  if (fd_ < 0) return false;
  // poll() returns at once when a byte is already waiting, so one call serves both cases.
  if (bufferStart_ == bufferEnd_ && !FillBuffer(kReadWaitMs)) return false;
  byte = buffer_[bufferStart_++];
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
