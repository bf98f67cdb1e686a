#include "texts_file.h"

#include "file_error.h"
#include "kalibro_texts.h"
#include "korvena/platform/file_names.h"
#include "korvena/platform/whole_files.h"

namespace korvena::kalibro {
namespace {

// A texts file holds two dozen short lines.
constexpr std::size_t kLargestTextsFile = 1 << 20;

// The file dialog of texts files: text files or, chosen first, Kalibro's own.
FileDialogRequest TextsFileRequest(const char* title) {
  FileDialogRequest request;
  request.title = Text(title);
  request.filters = {Text(kTextFileFilter), Text(kKalibroFileFilter)};
  request.selectedFilter = 1;
  request.defaultSuffix = "set";
  return request;
}

}  // namespace

TextsFile TextsFile::Load(const std::string& path) {
  const FileContents contents = ReadWholeFile(path, kLargestTextsFile);
  if (contents.status != FileContents::kRead) throw FileError(FileError::kCannotOpen, path, contents.status);
  TextsFile file;
  std::size_t start = 0;
  while (start < contents.bytes.size()) {
    std::size_t end = contents.bytes.find('\n', start);
    if (end == std::string::npos) end = contents.bytes.size();
    std::string line = contents.bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) file.lines_.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    start = end + 1;
  }
  return file;
}

void TextsFile::Save(const std::string& path, const Lines& lines) {
  std::string contents;
  for (const auto& [name, value] : lines) contents += name + "=" + value + "\r\n";
  if (!WriteWholeFile(path, contents)) throw FileError(FileError::kCannotCreate, path);
}

std::string TextsFile::Value(const std::string& name) const {
  for (const auto& [lineName, value] : lines_)
    if (EqualsIgnoringCase(lineName, name)) return value;
  return {};
}

QString AskTextsFileToRead(UserInteraction& ui) {
  FileDialogRequest request = TextsFileRequest(kReadTextsCaption);
  request.mustExist = true;
  return ui.AskOpenFileName(request);
}

QString AskTextsFileToWrite(UserInteraction& ui) { return ui.AskSaveFileName(TextsFileRequest(kSaveTextsCaption)); }

}  // namespace korvena::kalibro
