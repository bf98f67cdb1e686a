#include "korvena/platform/whole_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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
  const std::string target = ResolveFileName(path);
  std::string temporary;
  const int fd = CreateTemporary(target, temporaryName, temporary);
  if (fd < 0) return false;
  bool done = WriteAll(fd, bytes);
  struct stat old {};
  if (done && stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) done = fchmod(fd, old.st_mode & 07777) == 0;
  done = done && fsync(fd) == 0;
  done = ::close(fd) == 0 && done;
  done = done && std::rename(temporary.c_str(), target.c_str()) == 0;
  if (!done) ::unlink(temporary.c_str());
  return done;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
  const int fd =
      ::open(ResolveFileName(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes);
  return ::close(fd) == 0 && written;
}

}  // namespace korvena
