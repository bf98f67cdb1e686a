#pragma once
// The files kalibro-cli reads and writes, each failure a file failure (exit
// status 4) naming the file and the reason. Files are written whole or not
// at all.
#include <cstddef>
#include <string>
#include <string_view>

#include "korvena/operations/texts_file.h"
#include "korvena/platform/whole_files.h"

namespace korvena::cli {

// The whole of `path`, at most `limit` bytes.
std::string ReadInputFile(const std::string& path, std::size_t limit);
// Standard input for "-", else ReadInputFile.
std::string ReadInputOrStandardInput(const std::string& path, std::size_t limit);
void WriteOutputFile(const std::string& path, std::string_view bytes);

operations::TextsFile LoadTextsFile(const std::string& path);
void SaveTextsFile(const std::string& path, const operations::TextsFile::Lines& lines);

// Why a read of `path` gave `status`, for a message.
std::string ReadFailureText(const std::string& path, FileContents::Status status, std::size_t limit);

}  // namespace korvena::cli
