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
#include <cstdio>
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

// Creates or replaces `path` with `bytes`. Only a regular file or nothing is
// replaced: a device, FIFO, socket or folder there is refused. A symbolic
// link is written through: its final target is replaced in the target's own
// folder, so the link stays; a dangling link is refused, since whoever
// planted it would choose where the data lands. An existing file keeps its
// permissions (and, where allowed, its owner); a new one gets what the umask
// leaves of 0666. False when any step failed, with errno saying why (EINVAL
// for a target of the wrong kind); no temporary file is left behind.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// WriteWholeFile with the temporary names taken from `temporaryName` (given
// the resolved target, called again after each name that is taken), so a
// test can plant things where the writer will look.
using TemporaryNames = std::function<std::string(const std::string& target)>;
bool WriteWholeFile(const std::string& path, std::string_view bytes, const TemporaryNames& temporaryName);

// Writes `path` whole, as WriteWholeFile does, but only where nothing stands
// yet: an existing file of any kind is kept and the call fails with EEXIST.
// For data that may be incomplete and must not replace a good copy.
bool WriteNewFile(const std::string& path, std::string_view bytes);

// Appends `bytes` to `path`, creating it when missing. A link at `path` is
// not followed, and anything but a regular file is refused: whoever can
// write into the folder must not be able to point the data at another file.
// False when it failed, with errno saying why (ELOOP for a link, EINVAL for
// another kind of file).
bool AppendToFile(const std::string& path, std::string_view bytes);

// Opens a log or journal that is written line by line while a program runs:
// kAppend keeps what it holds, kEmpty starts it afresh. The same rules as
// AppendToFile: created when missing, a link or a file that is not a regular
// one refused (nullptr, errno ELOOP or EINVAL). Close it with fclose.
enum class LogStart { kAppend, kEmpty };
std::FILE* OpenLogFile(const std::string& path, LogStart start);

// Removes the temporary files that earlier runs of WriteWholeFile left beside
// `path` when they were killed mid-write. Only for a program that owns the
// file (holds its lock), since another writer's fresh temporary looks the
// same. Links and other kinds of file under such names are left alone.
// Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& path);

// A text for errno values the functions above set, for messages.
std::string FileErrorText(int error);

}  // namespace korvena
