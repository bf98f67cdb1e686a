#include "korvena/driver/driver_files.h"

#include <sys/stat.h>

#include <cstdio>

#include "korvena/platform/file_names.h"

namespace korvena::driver {
namespace {

bool WriteAndClose(std::FILE* file, std::string_view data) {
  const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

bool WriteFileWhole(const std::string& path, std::string_view data) {
  // An existing file of another letter case is the one replaced.
  const std::string target = ResolveFileName(path);
  const std::string temp = target + ".tmp~";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) return false;
  if (!WriteAndClose(file, data)) {
    std::remove(temp.c_str());
    return false;
  }
  struct stat old {};
  if (stat(target.c_str(), &old) == 0) chmod(temp.c_str(), old.st_mode & 07777);
  if (std::rename(temp.c_str(), target.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

bool AppendToFile(const std::string& path, std::string_view data) {
  std::FILE* file = OpenFileNoCase(path, "ab");
  return file != nullptr && WriteAndClose(file, data);
}

std::string DailyLdxFileName(const std::string& fileDir, const LocalDate& date) {
  char name[32];
  std::snprintf(name, sizeof name, "%04d%02d%02d.tx", date.year % 10000, date.month % 100, date.day % 100);
  return fileDir + name;
}

}  // namespace korvena::driver
