#include "korvena/driver/debug_log.h"

#include <cerrno>

#include "korvena/platform/whole_files.h"

namespace korvena::driver {

void DebugLog::Create(const std::string& path) {
  Close();
  file_ = OpenLogFile(path, LogStart::kEmpty);
  if (file_ == nullptr && errno != ELOOP && errno != EINVAL) file_ = OpenLogFile(path, LogStart::kEmpty);
  // A link or a device planted under the log's name is not written through.
  // The host has nowhere else to hear of it; a developer reading standard
  // error does.
  if (file_ == nullptr && (errno == ELOOP || errno == EINVAL))
    std::fprintf(stderr, "KvorW32: %s not written: %s\n", path.c_str(), FileErrorText(errno).c_str());
}

void DebugLog::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void DebugLog::Write(std::string_view message) {
  if (file_ == nullptr) return;
  std::fwrite(message.data(), 1, message.size(), file_);
  std::fwrite("\r\n", 1, 2, file_);
  std::fflush(file_);
}

}  // namespace korvena::driver
