#include "frame_log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "korvena/platform/whole_files.h"
#include "korvena/service/service_log.h"

namespace korvena::service {

std::unique_ptr<FrameLogFile> FrameLogFile::Open(const std::string& path, std::string& error) {
  // Non-blocking so that a FIFO planted there cannot hold the start; it is refused below.
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC,
                        0640);
  if (fd < 0) {
    const int reason = errno;
    // ENXIO: a FIFO no one reads, or a device file.
    error = "cannot open the frame log " + path + ": " +
            (reason == ELOOP    ? std::string("it is a symbolic link")
             : reason == ENXIO ? std::string("it is not a regular file")
                               : FileErrorText(reason));
    return nullptr;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    error = "cannot open the frame log " + path + ": it is not a regular file";
    return nullptr;
  }
  return std::unique_ptr<FrameLogFile>(new FrameLogFile(fd, path));
}

FrameLogFile::~FrameLogFile() { ::close(fd_); }

void FrameLogFile::Write(std::string_view device, std::string_view line) {
  std::string whole;
  whole.reserve(device.size() + 1 + line.size());
  whole.append(device).append(" ").append(line);
  const std::lock_guard<std::mutex> hold(lock_);
  ssize_t wrote = 0;
  while ((wrote = ::write(fd_, whole.data(), whole.size())) < 0 && errno == EINTR) {
  }
  if (wrote == static_cast<ssize_t>(whole.size())) {
    failing_ = false;
    return;
  }
  // A full disk must not stop the receipts: the line is lost (or cut short),
  // and that is said once.
  if (!std::exchange(failing_, true))
    LogLine("cannot write the frame log %s: %s; its lines are lost until it can", path_.c_str(),
            wrote < 0 ? FileErrorText(errno).c_str() : "the disk is full");
}

std::function<void(const std::string& line)> FrameLogFile::LinesOf(const std::string& device) {
  return [this, device](const std::string& line) { Write(device, line); };
}

}  // namespace korvena::service
