#include "korvena/service/web_files.h"

#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <utility>

#include "korvena/platform/file_names.h"
#include "korvena/platform/whole_files.h"
#include "status_page_files.h"

namespace korvena::service {
namespace {

struct MediaType {
  std::string_view extension;
  std::string_view type;
};

constexpr MediaType kMediaTypes[] = {
    {".html", "text/html; charset=utf-8"},   {".htm", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"}, {".mjs", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},     {".json", "application/json"},
    {".webmanifest", "application/manifest+json"}, {".svg", "image/svg+xml"},
    {".png", "image/png"},                   {".jpg", "image/jpeg"},
    {".jpeg", "image/jpeg"},                 {".gif", "image/gif"},
    {".webp", "image/webp"},                 {".ico", "image/x-icon"},
    {".woff2", "font/woff2"},                {".txt", "text/plain; charset=utf-8"},
    {".md", "text/markdown; charset=utf-8"},
};

// A segment a browser may ask for: no climbing, no hidden files, nothing a
// file system would read as a separator or an end (%2F and %00 decode to them).
bool SafeSegment(const std::string& segment) {
  return !segment.empty() && segment.front() != '.' && segment.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

// The path with every link resolved; empty when it does not exist.
std::string RealPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : std::string();
}

}  // namespace

std::string_view MediaTypeOf(std::string_view name) {
  for (const MediaType& entry : kMediaTypes)
    if (name.size() >= entry.extension.size() &&
        EqualsIgnoringCase(name.substr(name.size() - entry.extension.size()), entry.extension))
      return entry.type;
  return "application/octet-stream";
}

std::optional<WebFile> StatusPageFile(std::string_view name) {
  if (name.empty()) return WebFile{MediaTypeOf(".html"), std::string(kStatusPageHtml)};
  if (name == "status.js") return WebFile{MediaTypeOf(name), std::string(kStatusPageScript)};
  if (name == "status.css") return WebFile{MediaTypeOf(name), std::string(kStatusPageStyle)};
  return std::nullopt;
}

WebFolder::Read WebFolder::File(const std::vector<std::string>& segments) const {
  if (root_.empty() || segments.empty()) return {};
  std::string path = root_;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const bool last = i + 1 == segments.size();
    const std::string segment = last && segments[i].empty() ? std::string("index.html") : segments[i];
    if (!SafeSegment(segment)) return {};
    path += "/" + segment;
  }
  // A link inside the folder may point within it, never out of it. The root
  // is resolved each time: an upgrade may put a new folder behind its name.
  const std::string root = RealPath(root_);
  const std::string real = RealPath(path);
  if (root.empty() || real.empty() || real.compare(0, root.size() + 1, root + "/") != 0) return {};
  struct stat info {};
  if (stat(real.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  FileContents file = ReadWholeFile(real, kLargestFile);
  if (file.status == FileContents::kMissing) return {};
  if (file.status != FileContents::kRead) return {Read::kUnreadable, {}};
  return {Read::kFound, {MediaTypeOf(real), std::move(file.bytes)}};
}

}  // namespace korvena::service
