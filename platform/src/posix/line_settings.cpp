#include "korvena/platform/line_settings.h"

// termios2 and BOTHER set arbitrary rates; this header clashes with
// <termios.h>, so this file is the only place that uses it.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace korvena {
namespace {

// The classic speed constant of `baud`, or BOTHER for a rate that has none.
// Classic constants where they exist: other programs on the same line (a
// Windows program under Wine, stty) understand only those.
tcflag_t SpeedCode(uint32_t baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return BOTHER;
  }
}

bool ApplySpeed(termios2& settings, int fd, uint32_t baud) {
  if (!IsPlausibleBaud(baud)) return false;
  const tcflag_t code = SpeedCode(baud);
  settings.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  settings.c_cflag |= code | (code << IBSHIFT);
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
