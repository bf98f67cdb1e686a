#include "korvena/platform/line_settings.h"

// termios2 and BOTHER set arbitrary rates; this header clashes with
// <termios.h>, so this file is the only place that uses it.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace korvena {
namespace {

bool ApplySpeed(termios2& settings, int fd, uint32_t baud) {
  if (!IsPlausibleBaud(baud)) return false;
  settings.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  settings.c_ispeed = baud;
  settings.c_ospeed = baud;
  if (ioctl(fd, TCSETS2, &settings) != 0) return false;
  return LineSpeed(fd) == baud;
}

}  // namespace

bool SetRawLine(int fd, uint32_t baud) {
  termios2 settings{};
  if (ioctl(fd, TCGETS2, &settings) != 0) return false;
  settings.c_iflag = 0;
  settings.c_oflag = 0;
  settings.c_lflag = 0;
  settings.c_cflag = CS8 | CREAD | CLOCAL;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  return ApplySpeed(settings, fd, baud);
}

bool SetLineSpeed(int fd, uint32_t baud) {
  termios2 settings{};
  if (ioctl(fd, TCGETS2, &settings) != 0) return false;
  return ApplySpeed(settings, fd, baud);
}

uint32_t LineSpeed(int fd) {
  termios2 settings{};
  if (ioctl(fd, TCGETS2, &settings) != 0) return 0;
  return settings.c_ospeed;
}

}  // namespace korvena
