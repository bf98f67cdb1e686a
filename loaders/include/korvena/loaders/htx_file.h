#pragma once
// Reading the HTX file that Sendrix loads: whole, into a buffer of the size
// the device takes, or a reason why not.
#include <cstddef>
#include <string>

namespace korvena::loaders {

inline constexpr std::size_t kHtxBufferSize = 5120;

struct HtxFile {
  enum Status { kRead, kMissing, kUnreadable, kTooLarge };
  Status status = kMissing;
  std::string bytes;  // the whole file when kRead
};

// Finds `name` without regard to case and reads it. A file over
// kHtxBufferSize bytes is refused rather than cut.
HtxFile ReadHtxFile(const std::string& name);

}  // namespace korvena::loaders
