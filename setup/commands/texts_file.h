#pragma once
// The texts file in the window: the dialogs that ask where it lies, and
// its reading and writing with the program's error box (FileError). The
// file itself is operations::TextsFile.
#include <QString>
#include <string>

#include "korvena/operations/texts_file.h"
#include "shell/user_interaction.h"

namespace korvena::kalibro {

// Reads `path`; throws FileError when it cannot be read.
operations::TextsFile LoadTextsFile(const std::string& path);
// Writes `lines` to `path` whole; throws FileError when it cannot be written.
void SaveTextsFile(const std::string& path, const operations::TextsFile::Lines& lines);

// Asks for the texts file to load the fields from: its path, or empty when
// the technician cancelled.
QString AskTextsFileToRead(UserInteraction& ui);
// Asks where to save a texts file: its path, or empty when cancelled. An
// existing file is replaced without asking.
QString AskTextsFileToWrite(UserInteraction& ui);

}  // namespace korvena::kalibro
