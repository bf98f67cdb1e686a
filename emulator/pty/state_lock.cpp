#include "state_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "korvena/platform/file_names.h"
#include "korvena/platform/whole_files.h"

namespace korvena::emu {
namespace {

// The process id the holder wrote into the lock file, or "" when none.
std::string HolderOf(int fd) {
  char text[24];
  const ssize_t length = pread(fd, text, sizeof text - 1, 0);
  if (length <= 0) return "";
  std::string holder(text, static_cast<std::size_t>(length));
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r')) holder.pop_back();
  return holder.find_first_not_of("0123456789") == std::string::npos ? holder : "";
}

}  // namespace

StateLock::~StateLock() {
  if (fd_ >= 0) close(fd_);
}

std::string StateLock::LockFileOf(const std::string& statePath) {
  // The name the writer will use, and through a link the file it replaces,
  // so that two names of one file share one lock.
  std::string path = ResolveFileName(statePath);
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    if (real) path = real.get();
  }
  return path + ".lock";
}

bool StateLock::Take(const std::string& statePath, std::string& error) {
  const std::string lockPath = LockFileOf(statePath);
  // Not through a link, and never waiting on a FIFO planted there.
  const int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  struct stat info {};
  if (fd >= 0 && fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
    close(fd);
    errno = EINVAL;
  } else if (fd >= 0) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      // Only for the message a second emulator gives.
      const std::string holder = std::to_string(getpid()) + "\n";
      const bool noted = ftruncate(fd, 0) == 0 && pwrite(fd, holder.data(), holder.size(), 0) > 0;
      static_cast<void>(noted);
      return true;
    }
    const int lockError = errno;
    const std::string holder = HolderOf(fd);
    close(fd);
    if (lockError == EWOULDBLOCK) {
      error = "the state file " + statePath + " is in use by another korvena-emu" +
              (holder.empty() ? "" : " (process " + holder + ")") + ", which holds " + lockPath;
      return false;
    }
    errno = lockError;
  }
  error = "cannot lock the state file " + statePath + " with " + lockPath + ": " + FileErrorText(errno);
  return false;
}

}  // namespace korvena::emu
