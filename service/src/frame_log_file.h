#pragma once
// The file --frame-log names, shared by every device's line. Each device's
// lines carry its id in front ("COM1 14:03:07.412 PC>  <1B>;IV;5<0D>").
// Lines from the device threads never mix: a lock, and each line appended
// with a single write(2), so a reader (tail -f) sees whole lines only.
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace korvena::service {

class FrameLogFile {
 public:
  // Opens `path` for appending, created mode 0640 when missing. Null, with
  // `error` saying why, for a symbolic link (one planted where the log
  // goes), anything but a regular file, or a file that cannot be opened.
  static std::unique_ptr<FrameLogFile> Open(const std::string& path, std::string& error);
  ~FrameLogFile();
  FrameLogFile(const FrameLogFile&) = delete;
  FrameLogFile& operator=(const FrameLogFile&) = delete;

  // Appends `line` (its line end included) after `device` and a space.
  void Write(std::string_view device, std::string_view line);
  // What a device's FrameLoggingPort writes its lines with.
  std::function<void(const std::string& line)> LinesOf(const std::string& device);

 private:
  FrameLogFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

  const int fd_;
  const std::string path_;
  std::mutex lock_;
  bool failing_ = false;  // said once in the service's log until a line goes through again
};

}  // namespace korvena::service
