#include "korvena/platform/settings_file.h"

#include <sys/stat.h>

#include "korvena/platform/file_names.h"

namespace korvena {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

std::string SettingsFilePath(const std::string& besideFolder, const std::string& name,
                             const std::string& systemFolder) {
  const std::string beside = ResolveFileName(besideFolder + name);
  if (Exists(beside) || systemFolder.empty()) return beside;
  const std::string system = ResolveFileName(systemFolder + name);
  return Exists(system) ? system : beside;
}

}  // namespace korvena
