#include "korvena/driver/debug_log.h"

#include "korvena/platform/file_names.h"

namespace korvena::driver {

void DebugLog::Create(const std::string& path) {
  Close();
  file_ = OpenFileNoCase(path, "wb");
  if (file_ == nullptr) file_ = OpenFileNoCase(path, "wb");
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
