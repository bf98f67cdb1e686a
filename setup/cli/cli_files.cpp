#include "cli_files.h"

#include <cerrno>
#include <iostream>
#include <iterator>

#include "cli_failure.h"

namespace korvena::cli {
namespace {

// A texts file holds two dozen short lines; TextsFile::Load has its own cap.
constexpr std::size_t kTextsFileLimit = 1 << 20;

[[noreturn]] void FailWrite(const std::string& path) {
  FailFile(path + ": cannot be written: " + FileErrorText(errno));
}

}  // namespace

std::string ReadFailureText(const std::string& path, FileContents::Status status, std::size_t limit) {
  switch (status) {
    case FileContents::kMissing: return path + ": no such file";
    case FileContents::kTooLarge: return path + ": larger than " + std::to_string(limit) + " bytes";
    case FileContents::kUnreadable:
    case FileContents::kRead: break;
  }
  return path + ": cannot be read (not a regular file, or no permission)";
}

std::string ReadInputFile(const std::string& path, std::size_t limit) {
  FileContents contents = ReadWholeFile(path, limit);
  if (contents.status != FileContents::kRead) FailFile(ReadFailureText(path, contents.status, limit));
  return std::move(contents.bytes);
}

std::string ReadInputOrStandardInput(const std::string& path, std::size_t limit) {
  if (path != "-") return ReadInputFile(path, limit);
  std::string bytes;
  char buffer[4096];
  while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(std::cin.gcount()));
    if (bytes.size() > limit) FailFile(ReadFailureText("standard input", FileContents::kTooLarge, limit));
  }
  if (std::cin.bad()) FailFile(ReadFailureText("standard input", FileContents::kUnreadable, limit));
  return bytes;
}

void WriteOutputFile(const std::string& path, std::string_view bytes) {
  if (!WriteWholeFile(path, bytes)) FailWrite(path);
}

operations::TextsFile LoadTextsFile(const std::string& path) {
  FileContents::Status status = FileContents::kMissing;
  std::optional<operations::TextsFile> file = operations::TextsFile::Load(path, status);
  if (!file) FailFile(ReadFailureText(path, status, kTextsFileLimit));
  return std::move(*file);
}

void SaveTextsFile(const std::string& path, const operations::TextsFile::Lines& lines) {
  if (!operations::TextsFile::Save(path, lines)) FailWrite(path);
}

}  // namespace korvena::cli
