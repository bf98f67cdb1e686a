#pragma once
// The debug log "KORVENA.DBG": one line per event, CR LF, no time stamps,
// on disk at once so that nothing is lost when the host process dies.
#include <cstdio>
#include <string>
#include <string_view>

namespace korvena::driver {

class DebugLog {
 public:
  DebugLog() = default;
  DebugLog(const DebugLog&) = delete;
  DebugLog& operator=(const DebugLog&) = delete;
  ~DebugLog() { Close(); }

  // Creates (or empties) the file, trying twice; a log that cannot be made
  // stays closed and its entries are lost without an error to the host. A
  // symbolic link or anything but a regular file at `path` is never written
  // through; that refusal is said on standard error.
  void Create(const std::string& path);
  void Close();
  bool open() const { return file_ != nullptr; }
  void Write(std::string_view message);

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace korvena::driver
