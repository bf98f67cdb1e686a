#include "commands/texts_file.h"

#include "shell/file_error.h"
#include "shell/kalibro_texts.h"

namespace korvena::kalibro {
namespace {

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

operations::TextsFile LoadTextsFile(const std::string& path) {
  FileContents::Status status{};
  std::optional<operations::TextsFile> file = operations::TextsFile::Load(path, status);
  if (!file) throw FileError(FileError::kCannotOpen, path, status);
  return std::move(*file);
}

void SaveTextsFile(const std::string& path, const operations::TextsFile::Lines& lines) {
  if (!operations::TextsFile::Save(path, lines)) throw FileError(FileError::kCannotCreate, path);
}

QString AskTextsFileToRead(UserInteraction& ui) {
  FileDialogRequest request = TextsFileRequest(kReadTextsCaption);
  request.mustExist = true;
  return ui.AskOpenFileName(request);
}

QString AskTextsFileToWrite(UserInteraction& ui) { return ui.AskSaveFileName(TextsFileRequest(kSaveTextsCaption)); }

}  // namespace korvena::kalibro
