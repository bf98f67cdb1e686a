#include "file_io.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "korvena/platform/file_names.h"

namespace korvena::hypertext {

ReadStatus ReadWholeFile(const std::string& path, std::size_t capacity, std::string& contents) {
  std::FILE* file = std::fopen(ResolveFileName(path).c_str(), "rb");
  if (!file) return ReadStatus::CannotOpen;
  // One byte more than fits tells a file that is too long.
  contents.assign(capacity + 1, '\0');
  const std::size_t got = std::fread(contents.data(), 1, contents.size(), file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return ReadStatus::CannotOpen;
  if (got > capacity) return ReadStatus::TooLong;
  contents.resize(got);
  return ReadStatus::Ok;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  const std::string target = ResolveFileName(path);
  std::string temporary;
  std::FILE* file = nullptr;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    temporary = target + ".~tmp" + std::to_string(attempt);
    file = std::fopen(temporary.c_str(), "wbx");
    if (!file && errno != EEXIST) return false;
  }
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fflush(file) == 0 && written;
  written = std::fclose(file) == 0 && written;
  std::error_code error;
  if (written) std::filesystem::rename(temporary, target, error);
  if (!written || error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace korvena::hypertext
