#include "korvena/loaders/path_no_case.h"

#include "korvena/platform/file_names.h"

namespace korvena::loaders {

std::string ResolvePathNoCase(const std::string& path) {
  std::string resolved = !path.empty() && path[0] == '/' ? "/" : "";
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    if (!component.empty()) {
      if (!resolved.empty() && resolved.back() != '/') resolved.push_back('/');
      resolved = ResolveFileName(resolved + component);
    }
    start = end + 1;
  }
  return resolved;
}

}  // namespace korvena::loaders
