#pragma once
// What the service hands a browser besides the API: its own status page,
// built into the program so that a shop without internet has it, and the
// files of a folder the shop names (a web till, say), read afresh for each
// request. Nothing outside that folder is ever served: no path that climbs
// out, no hidden file, no link that leads elsewhere, no file that is not a
// regular one.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvena::service {

struct WebFile {
  std::string_view mediaType;
  std::string bytes;
};

// The media type a file name's extension stands for.
std::string_view MediaTypeOf(std::string_view name);

// The status page's file `name`: "" for the page, "status.js", "status.css".
std::optional<WebFile> StatusPageFile(std::string_view name);

class WebFolder {
 public:
  static constexpr std::size_t kLargestFile = 8 << 20;

  // `root` empty: no folder is served.
  explicit WebFolder(std::string root = {}) : root_(std::move(root)) {}
  bool configured() const { return !root_.empty(); }

  struct Read {
    enum Outcome { kFound, kNotFound, kUnreadable } outcome = kNotFound;
    WebFile file;
  };
  // The file the path's segments below the folder name (the last one empty
  // for the folder's index.html). kUnreadable for one that exists but
  // cannot be read or is too large.
  Read File(const std::vector<std::string>& segments) const;

 private:
  std::string root_;
};

}  // namespace korvena::service
