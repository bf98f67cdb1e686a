#pragma once
// Files read and written whole, the one way every program of the suite does
// it. Names are matched without regard to case (ResolveFileName).
//
// Reading never blocks and never swallows more than the caller allows: a
// FIFO, a device or a folder is unreadable, a file above the limit too large.
//
// Writing goes through a temporary file of a fresh name in the target's
// folder, created exclusively (a link planted under any name is neither
// followed nor touched), flushed to the disk and renamed over the target. A
// reader sees the old file or the new one, never a half of either; after a
// failure the old file is as it was.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace korvena {

struct FileContents {
  enum Status {
    kRead,
    kMissing,     // no such file or folder
    kUnreadable,  // not a regular file, no permission, a read error
    kTooLarge,    // more bytes than the limit
  };
  Status status = kMissing;
  std::string bytes;  // the whole file when kRead, else empty
};

FileContents ReadWholeFile(const std::string& path, std::size_t limit);

// Creates or replaces `path` with `bytes`. An existing file keeps its
// permissions. False when any step failed.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// WriteWholeFile with the temporary names taken from `temporaryName` (given
// the resolved target, called again after each name that is taken), so a
// test can plant things where the writer will look.
using TemporaryNames = std::function<std::string(const std::string& target)>;
bool WriteWholeFile(const std::string& path, std::string_view bytes, const TemporaryNames& temporaryName);

// Appends `bytes` to `path`, creating it when missing. A link at `path` is
// not followed: whoever can write into the folder must not be able to point
// the data at another file. False when it failed.
bool AppendToFile(const std::string& path, std::string_view bytes);

}  // namespace korvena
