#include "korvena/platform/file_names.h"

#include <cctype>

namespace korvena {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string DirectoryOf(const std::string& path) {
  // Both separators, as the names the suite is given may use either.
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsAbsolutePath(const std::string& path) {
  if (!path.empty() && path.front() == '/') return true;
#if defined(_WIN32)
  if (!path.empty() && path.front() == '\\') return true;
  if (path.size() >= 2 && path[1] == ':') return true;
#endif
  return false;
}

FILE* OpenFileNoCase(const std::string& path, const char* mode) {
  return std::fopen(ResolveFileName(path).c_str(), mode);
}

}  // namespace korvena
