// Names on a file system that tells letter case apart: a name that does not
// exist as given is matched folder by folder without regard to case.
#include <dirent.h>
#include <sys/stat.h>

#include "korvena/platform/file_names.h"

namespace korvena {

namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// The entry of `directory` whose name equals `name` without regard to case,
// or `name` itself when there is none.
std::string MatchInDirectory(const std::string& directory, const std::string& name) {
  DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return name;
  std::string found = name;
  while (const dirent* entry = readdir(dir)) {
    if (EqualsIgnoringCase(entry->d_name, name)) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace

std::string ResolveFileName(const std::string& path) {
  if (path.empty() || Exists(path)) return path;
  std::string resolved = path[0] == '/' || path[0] == '\\' ? "/" : "";
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    if (!component.empty()) {
      if (!resolved.empty() && resolved.back() != '/') resolved.push_back('/');
      const std::string given = resolved + component;
      resolved = Exists(given) ? given : resolved + MatchInDirectory(resolved, component);
    }
    start = end + 1;
  }
  return resolved;
}


bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace korvena
