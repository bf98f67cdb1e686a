#pragma once
// Learns when the last program lets go of the pseudo-terminal's slave, the
// emulator's own descriptor aside. The kernel reports every open and close of
// the device node (inotify), but it folds a report into the one before it
// while both wait unread, so counting them goes wrong; the reports only say
// when to look, and the open descriptors of the processes (/proc) say
// whether anyone still holds the line.
#include <string>

namespace korvena::emu {

class PortHolders {
 public:
  PortHolders() = default;
  PortHolders(const PortHolders&) = delete;
  PortHolders& operator=(const PortHolders&) = delete;
  ~PortHolders();

  // Watches the device node `slavePath`. False with errno set when it cannot.
  bool Watch(const std::string& slavePath);
  // Readable when the kernel has something to report.
  int fd() const { return inotify_; }
  // Takes the reports waiting. True when a program has let go of the slave
  // and no other process holds it now.
  bool LastLetGo();

 private:
  int inotify_ = -1;
  std::string path_;
};

// True when a process other than this one has `path` open. Processes whose
// descriptors this one may not look at (another user's) are not seen.
bool OpenElsewhere(const std::string& path);

}  // namespace korvena::emu
