#include "korvena/platform/file_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>

namespace korvena {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ResolveFileName(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) == 0) return path;
  const std::string directory = DirectoryOf(path);
  const std::string name = path.substr(directory.size());
  DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return path;
  std::string found = path;
  while (const dirent* entry = readdir(dir)) {
    if (EqualsIgnoringCase(entry->d_name, name)) {
      found = directory + entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

FILE* OpenFileNoCase(const std::string& path, const char* mode) {
  return std::fopen(ResolveFileName(path).c_str(), mode);
}

}  // namespace korvena
