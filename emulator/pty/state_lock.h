#pragma once
// Keeps a second emulator off a state file while one runs on it: two would
// each save over the other's changes. The state file is replaced at every
// save, so the lock lies on a file of its own beside it, the state file's
// name with ".lock" added (beside the final target when the state file is a
// symbolic link). The lock file stays when the emulator ends; the lock goes
// with the process, however it ends.
#include <string>

namespace korvena::emu {

class StateLock {
 public:
  StateLock() = default;
  StateLock(const StateLock&) = delete;
  StateLock& operator=(const StateLock&) = delete;
  ~StateLock();

  // Locks the state file `statePath` for this process. False, with `error`
  // saying why, when another process holds it or the lock file cannot be
  // made.
  bool Take(const std::string& statePath, std::string& error);

  // The lock file of `statePath`.
  static std::string LockFileOf(const std::string& statePath);

 private:
  int fd_ = -1;
};

}  // namespace korvena::emu
