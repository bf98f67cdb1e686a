#include "pty_line.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "korvena/platform/line_settings.h"

namespace korvena::emu {

PtyLine::~PtyLine() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
}

bool PtyLine::Create(uint32_t baud) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
  const char* name = ptsname(master_);
  if (name == nullptr) return false;
  slavePath_ = name;
  slave_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  // A new slave echoes and edits lines; the device's line is raw.
  return slave_ >= 0 && SetRawLine(slave_, baud);
}

uint32_t PtyLine::PcBaud() const { return LineSpeed(master_); }

void PtyLine::LetGo() {
  ioctl(slave_, TIOCNXCL);
  tcflush(slave_, TCIFLUSH);
}

}  // namespace korvena::emu
