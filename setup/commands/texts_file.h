#pragma once
// The texts file: the device's texts as name=value lines (HL1..HL10 for the
// header, TL1..TL10 for the footer, DIC, DKP, ICDPH, ICO), in PC text
// (Windows-1250). The service commands write it; the header, footer and tax
// identity dialogs load their fields from it.
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "user_interaction.h"

namespace korvena::kalibro {

class TextsFile {
 public:
  // Reads `path` (lines ended by CR LF or LF). Throws FileError when it
  // cannot be read.
  static TextsFile Load(const std::string& path);

  // Writes `lines` to `path` as name=value lines ended by CR LF, whole.
  // Throws FileError when it cannot be written.
  using Lines = std::vector<std::pair<std::string, std::string>>;
  static void Save(const std::string& path, const Lines& lines);

  // The value of the first line whose name equals `name` without regard to
  // case: everything after its first "=". "" when no line has that name.
  std::string Value(const std::string& name) const;

 private:
  Lines lines_;
};

// Asks for the texts file to load the fields from: its path, or empty when
// the technician cancelled.
QString AskTextsFileToRead(UserInteraction& ui);
// Asks where to save a texts file: its path, or empty when cancelled. An
// existing file is replaced without asking.
QString AskTextsFileToWrite(UserInteraction& ui);

}  // namespace korvena::kalibro
