#include "korvena/platform/whole_files.h"

#include <windows.h>

#include <algorithm>

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
  const std::string target = ResolveFileName(path);
  std::string temporary;
  const HANDLE file = CreateTemporary(target, temporaryName, temporary);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool done = WriteAll(file, bytes) && FlushFileBuffers(file);
  done = CloseHandle(file) && done;
  done = done && MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!done) DeleteFileA(temporary.c_str());
  return done;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
  // A link at `path` is opened as itself, not followed.
  const HANDLE file = CreateFileA(ResolveFileName(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, bytes);
  return CloseHandle(file) && written;
}

}  // namespace korvena
