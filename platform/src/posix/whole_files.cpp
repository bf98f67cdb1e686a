#include "korvena/platform/whole_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../temporary_name.h"
#include "korvena/platform/file_names.h"

namespace korvena {
namespace {

// Names tried before giving up; each clash means someone else holds the name.
constexpr int kTemporaryNameAttempts = 100;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Closes `fd` without letting close() overwrite the errno that tells why a
// step before it failed.
void CloseKeepingError(int fd) {
  const int error = errno;
  ::close(fd);
  errno = error;
}

// Creates a fresh temporary file beside `target`; -1 when none could be made.
int CreateTemporary(const std::string& target, const TemporaryNames& temporaryName, std::string& name) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    name = temporaryName(target);
    // O_EXCL fails on anything already there, a dangling link included.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// What stands at a path the writer is about to replace.
enum class Target { kNothing, kRegular, kOther, kError };

Target Inspect(const std::string& path, struct stat& info) {
  if (::stat(path.c_str(), &info) != 0) return errno == ENOENT ? Target::kNothing : Target::kError;
  if (S_ISREG(info.st_mode)) return Target::kRegular;
  errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  return Target::kOther;
}

// The file a write to `path` must replace: `path` itself, or the final
// target when it is a symbolic link, so the link survives the rename. Empty
// for a dangling link (errno ENOENT).
std::string ReplacedFile(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : std::string();
}

// Writes `bytes` into a new temporary file beside `target`, on the disk and
// with the mode of the file it will replace; its name goes to `temporary`.
// False, with nothing left behind, when a step failed.
bool WriteTemporary(const std::string& target, std::string_view bytes, const TemporaryNames& temporaryName,
                    const struct stat* replaced, std::string& temporary) {
  const int fd = CreateTemporary(target, temporaryName, temporary);
  if (fd < 0) return false;
  bool done = WriteAll(fd, bytes);
  if (done && replaced != nullptr) {
    done = fchmod(fd, replaced->st_mode & 07777) == 0;
    // Root rewriting someone's file must not take it over; others cannot.
    if (done && (replaced->st_uid != geteuid() || replaced->st_gid != getegid()))
      (void)!fchown(fd, replaced->st_uid, replaced->st_gid);
  }
  done = done && fsync(fd) == 0;
  if (!done) {
    CloseKeepingError(fd);
  } else {
    done = ::close(fd) == 0;
  }
  if (!done) {
    const int error = errno;
    ::unlink(temporary.c_str());
    errno = error;
  }
  return done;
}

// Opens a regular file for appending without following a link; anything
// else is refused before it can block or be written.
int OpenForAppending(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    errno = S_ISLNK(info.st_mode) ? ELOOP : EINVAL;
    return -1;
  }
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  // Something may have taken the name between the look and the open.
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || fcntl(fd, F_SETFL, O_APPEND) != 0) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

}  // namespace

FileContents ReadWholeFile(const std::string& path, std::size_t limit) {
  FileContents file;
  // Non-blocking, so a FIFO cannot hold the caller until a writer comes.
  const int fd = ::open(ResolveFileName(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    file.status = errno == ENOENT || errno == ENOTDIR ? FileContents::kMissing : FileContents::kUnreadable;
    return file;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    file.status = FileContents::kUnreadable;
    return file;
  }
  std::string bytes;
  bytes.reserve(std::min<uint64_t>(static_cast<uint64_t>(std::max<off_t>(info.st_size, 0)), limit) + 1);
  char chunk[65536];
  file.status = FileContents::kRead;
  // One byte more than allowed tells a file that is too large, even one that
  // grows while it is read.
  while (bytes.size() <= limit) {
    const ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, limit + 1 - bytes.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) file.status = FileContents::kUnreadable;
    if (n <= 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (file.status == FileContents::kRead && bytes.size() > limit) file.status = FileContents::kTooLarge;
  if (file.status == FileContents::kRead) file.bytes = std::move(bytes);
  return file;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  return WriteWholeFile(path, bytes, TemporaryNameBeside);
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, const TemporaryNames& temporaryName) {
  // An existing file of another letter case is the one replaced.
  const std::string target = ReplacedFile(ResolveFileName(path));
  if (target.empty()) return false;
  struct stat old {};
  const Target found = Inspect(target, old);
  if (found == Target::kOther || found == Target::kError) return false;
  std::string temporary;
  if (!WriteTemporary(target, bytes, temporaryName, found == Target::kRegular ? &old : nullptr, temporary))
    return false;
  if (std::rename(temporary.c_str(), target.c_str()) == 0) return true;
  const int error = errno;
  ::unlink(temporary.c_str());
  errno = error;
  return false;
}

bool WriteNewFile(const std::string& path, std::string_view bytes) {
  const std::string target = ResolveFileName(path);
  struct stat info {};
  if (::lstat(target.c_str(), &info) == 0) {
    errno = EEXIST;
    return false;
  }
  std::string temporary;
  if (!WriteTemporary(target, bytes, TemporaryNameBeside, nullptr, temporary)) return false;
  // A hard link appears only where nothing stands, at once and whole.
  bool done = ::link(temporary.c_str(), target.c_str()) == 0;
  if (!done && errno != EEXIST) {
    // Folders without hard links (a memory stick's): a rename, looked before.
    if (::lstat(target.c_str(), &info) == 0)
      errno = EEXIST;
    else
      done = std::rename(temporary.c_str(), target.c_str()) == 0;
  }
  const int error = errno;
  ::unlink(temporary.c_str());
  errno = error;
  return done;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
  const int fd = OpenForAppending(ResolveFileName(path));
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes);
  if (!written) {
    CloseKeepingError(fd);
    return false;
  }
  return ::close(fd) == 0;
}

std::FILE* OpenLogFile(const std::string& path, LogStart start) {
  const int fd = OpenForAppending(ResolveFileName(path));
  if (fd < 0) return nullptr;
  if (start == LogStart::kEmpty && ftruncate(fd, 0) != 0) {
    CloseKeepingError(fd);
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "ab");
  if (file == nullptr) CloseKeepingError(fd);
  return file;
}

int RemoveStaleTemporaryFiles(const std::string& path) {
  std::string target = ReplacedFile(ResolveFileName(path));
  if (target.empty()) return 0;
  const std::string folder = DirectoryOf(target);
  const std::string name = target.substr(folder.size());
  DIR* const dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = readdir(dir)) {
    if (!IsTemporaryNameOf(entry->d_name, name)) continue;
    const std::string stale = folder + entry->d_name;
    struct stat info {};
    if (::lstat(stale.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::unlink(stale.c_str()) == 0) ++removed;
  }
  closedir(dir);
  return removed;
}

}  // namespace korvena
