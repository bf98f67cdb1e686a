#include "korvena/platform/whole_files.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>

#include "../temporary_name.h"
#include "korvena/platform/file_names.h"

namespace korvena {
namespace {

constexpr int kTemporaryNameAttempts = 100;
constexpr DWORD kChunk = 65536;

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunk));
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Creates a fresh temporary file beside `target`; INVALID_HANDLE_VALUE when
// none could be made. CREATE_NEW fails on anything already there, a link
// included, without following it.
HANDLE CreateTemporary(const std::string& target, const TemporaryNames& temporaryName, std::string& name) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    name = temporaryName(target);
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

// The file a write to `path` replaces: `path`, or the final target of a
// link there, so the link stays. Empty, with errno set, for anything but a
// file on a disk or nothing (a folder, a pipe, a device, a dangling link).
std::string ReplacedFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return path;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    errno = EISDIR;
    return {};
  }
  const HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                  FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errno = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? ENOENT : EACCES;
    return {};
  }
  std::string target = path;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    errno = EINVAL;
    target.clear();
  } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    char final[MAX_PATH + 8];
    const DWORD length = GetFinalPathNameByHandleA(file, final, sizeof final, FILE_NAME_NORMALIZED);
    target = length > 0 && length < sizeof final ? std::string(final, length) : std::string();
    // The \\?\ form names the same file; MoveFileEx takes it as it is.
    if (target.empty()) errno = ENAMETOOLONG;
  }
  CloseHandle(file);
  return target;
}

// Writes `bytes` into a new temporary file beside `target`, on the disk; its
// name goes to `temporary`. False, with nothing left behind, on a failure.
bool WriteTemporary(const std::string& target, std::string_view bytes, const TemporaryNames& temporaryName,
                    std::string& temporary) {
  const HANDLE file = CreateTemporary(target, temporaryName, temporary);
  if (file == INVALID_HANDLE_VALUE) {
    errno = EACCES;
    return false;
  }
  bool done = WriteAll(file, bytes) && FlushFileBuffers(file);
  done = CloseHandle(file) && done;
  if (!done) {
    DeleteFileA(temporary.c_str());
    errno = EIO;
  }
  return done;
}

// A file on a disk opened for appending; a link there is opened as itself
// and refused, as is a pipe, a console or a device.
HANDLE OpenForAppending(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | GENERIC_WRITE,
                                  FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errno = EACCES;
    return file;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool disk = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info);
  if (!disk || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    errno = disk ? ELOOP : EINVAL;
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  // GENERIC_WRITE lets SetEndOfFile empty it; writes still go to the end.
  LARGE_INTEGER end{};
  SetFilePointerEx(file, end, nullptr, FILE_END);
  return file;
}

}  // namespace

FileContents ReadWholeFile(const std::string& path, std::size_t limit) {
  FileContents file;
  const HANDLE handle = CreateFileA(ResolveFileName(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    file.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileContents::kMissing
                                                                                  : FileContents::kUnreadable;
    return file;
  }
  // A pipe, a console or a COM port would block or never end.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    file.status = FileContents::kUnreadable;
    return file;
  }
  std::string bytes;
  char chunk[kChunk];
  file.status = FileContents::kRead;
  // One byte more than allowed tells a file that is too large.
  while (bytes.size() <= limit) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(sizeof chunk, limit + 1 - bytes.size()));
    if (!ReadFile(handle, chunk, wanted, &got, nullptr)) {
      file.status = FileContents::kUnreadable;
      break;
    }
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  CloseHandle(handle);
  if (file.status == FileContents::kRead && bytes.size() > limit) file.status = FileContents::kTooLarge;
  if (file.status == FileContents::kRead) file.bytes = std::move(bytes);
  return file;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  return WriteWholeFile(path, bytes, TemporaryNameBeside);
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, const TemporaryNames& temporaryName) {
  const std::string target = ReplacedFile(ResolveFileName(path));
  if (target.empty()) return false;
  std::string temporary;
  if (!WriteTemporary(target, bytes, temporaryName, temporary)) return false;
  if (MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileA(temporary.c_str());
  errno = EACCES;
  return false;
}

bool WriteNewFile(const std::string& path, std::string_view bytes) {
  const std::string target = ResolveFileName(path);
  if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    errno = EEXIST;
    return false;
  }
  std::string temporary;
  if (!WriteTemporary(target, bytes, TemporaryNameBeside, temporary)) return false;
  // Without MOVEFILE_REPLACE_EXISTING the move fails on anything there.
  if (MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
  errno = GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS ? EEXIST : EACCES;
  DeleteFileA(temporary.c_str());
  return false;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
  const HANDLE file = OpenForAppending(ResolveFileName(path));
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, bytes);
  if (!written) errno = EIO;
  return CloseHandle(file) && written;
}

std::FILE* OpenLogFile(const std::string& path, LogStart start) {
  const HANDLE file = OpenForAppending(ResolveFileName(path));
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER origin{};
  if (start == LogStart::kEmpty && !(SetFilePointerEx(file, origin, nullptr, FILE_BEGIN) && SetEndOfFile(file))) {
    CloseHandle(file);
    errno = EACCES;
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_APPEND | _O_BINARY);
  if (fd < 0) {
    CloseHandle(file);
    return nullptr;
  }
  std::FILE* opened = _fdopen(fd, "ab");
  if (opened == nullptr) _close(fd);
  return opened;
}

int RemoveStaleTemporaryFiles(const std::string& path) {
  const std::string target = ReplacedFile(ResolveFileName(path));
  if (target.empty()) return 0;
  const std::string folder = DirectoryOf(target);
  const std::string name = target.substr(folder.size());
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "." + name + ".*~").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int removed = 0;
  do {
    const DWORD kinds = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    if (IsTemporaryNameOf(found.cFileName, name) && (found.dwFileAttributes & kinds) == 0 &&
        DeleteFileA((folder + found.cFileName).c_str()))
      ++removed;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return removed;
}

}  // namespace korvena
