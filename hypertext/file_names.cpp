#include "file_names.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace korvena::hypertext {

namespace fs = std::filesystem;

FileNames DeriveFileNames(const std::vector<std::string>& arguments) {
  FileNames names;
  names.source = arguments.at(0);
  if (names.source.find('.') == std::string::npos) names.source += ".DTX";
  names.destination = arguments.size() > 1 ? arguments[1] : names.source.substr(0, names.source.find('.'));
  if (names.destination.find('.') == std::string::npos) names.destination += ".HTX";
  return names;
}

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::path(path), error);
}

// The entry of `directory` named like `name` in another case, or "".
std::string FindIgnoringCase(const std::string& directory, const std::string& name) {
  std::error_code error;
  for (fs::directory_iterator it(directory.empty() ? "." : directory, error), end; !error && it != end;
       it.increment(error)) {
    const std::string entry = it->path().filename().string();
    if (EqualIgnoringCase(entry, name)) return entry;
  }
  return {};
}

std::string Join(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  return directory.back() == '/' ? directory + name : directory + '/' + name;
}

}  // namespace

std::string ResolveFileName(const std::string& path) {
#ifdef _WIN32
  return path;  // the file system there ignores case already
#else
  if (path.empty() || Exists(path)) return path;
  std::vector<std::string> parts(1);
  for (char c : path) {
    if (c == '/' || c == '\\') parts.emplace_back();
    else parts.back().push_back(c);
  }
  std::string resolved = path[0] == '/' || path[0] == '\\' ? "/" : "";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty()) continue;
    std::string candidate = Join(resolved, parts[i]);
    if (!Exists(candidate)) {
      const std::string match = FindIgnoringCase(resolved, parts[i]);
      if (match.empty()) return i + 1 == parts.size() ? candidate : path;
      candidate = Join(resolved, match);
    }
    resolved = std::move(candidate);
  }
  return resolved;
#endif
}

}  // namespace korvena::hypertext
