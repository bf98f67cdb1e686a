#pragma once
// The texts file: the device's texts as name=value lines (HL1..HL10 for the
// header, TL1..TL10 for the footer, DIC, DKP, ICDPH, ICO), in the PC's code
// page Windows-1250, each line ended by CR LF. A technician saves one from
// a configured device and loads it into the next.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "korvena/operations/fiscal_identity.h"
#include "korvena/operations/header_footer.h"
#include "korvena/platform/whole_files.h"

namespace korvena::operations {

class TextsFile {
 public:
  using Lines = std::vector<std::pair<std::string, std::string>>;

  // Reads `path` (lines ended by CR LF or LF); nullopt, with the reason in
  // `status`, when it cannot be read.
  static std::optional<TextsFile> Load(const std::string& path, FileContents::Status& status);
  // Writes `lines` to `path` whole; false when it could not be written.
  static bool Save(const std::string& path, const Lines& lines);

  explicit TextsFile(Lines lines = {}) : lines_(std::move(lines)) {}
  // The value of the first line whose name equals `name` without regard to
  // case: everything after its first "=". "" when no line has that name.
  std::string Value(const std::string& name) const;
  const Lines& lines() const { return lines_; }

 private:
  Lines lines_;
};

// The device's texts as a texts file holds them: identity, header, footer,
// each header and footer line turned from code page 852 to Windows-1250.
TextsFile::Lines ReadTextsFileLines(DeviceSession& session);

// What the header, footer and identity dialogs write after loading a file:
// the ten header and ten footer lines (Windows-1250 turned into code page
// 852) and the identity values the file holds (empty ones left alone).
struct TextsFileWritten {
  Outcome outcome;
  TaxIdentityWritten identity;
};
TextsFileWritten WriteTextsFile(DeviceSession& session, const TextsFile& file);

// The file's values turned into what the device takes.
DocumentLines DocumentLinesOf(const TextsFile& file, DocumentPart part);
TaxIdentity TaxIdentityOf(const TextsFile& file);

}  // namespace korvena::operations
