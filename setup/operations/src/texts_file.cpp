#include "korvena/operations/texts_file.h"

#include "encodings/code_page_852.h"
#include "korvena/platform/file_names.h"
#include "korvena/protocol/info_catalogue.h"

namespace korvena::operations {
namespace {

// A texts file holds two dozen short lines.
constexpr std::size_t kLargestTextsFile = 1 << 20;

std::string LineKey(DocumentPart part, int line) {
  return (part == DocumentPart::kHeader ? "HL" : "TL") + std::to_string(line);
}

}  // namespace

std::optional<TextsFile> TextsFile::Load(const std::string& path, FileContents::Status& status) {
  const FileContents contents = ReadWholeFile(path, kLargestTextsFile);
  status = contents.status;
  if (contents.status != FileContents::kRead) return std::nullopt;
  Lines lines;
  std::size_t start = 0;
  while (start < contents.bytes.size()) {
    std::size_t end = contents.bytes.find('\n', start);
    if (end == std::string::npos) end = contents.bytes.size();
    std::string line = contents.bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) lines.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    start = end + 1;
  }
  return TextsFile(std::move(lines));
}

bool TextsFile::Save(const std::string& path, const Lines& lines) {
  std::string contents;
  for (const auto& [name, value] : lines) contents += name + "=" + value + "\r\n";
  return WriteWholeFile(path, contents);
}

std::string TextsFile::Value(const std::string& name) const {
  for (const auto& [lineName, value] : lines_)
    if (EqualsIgnoringCase(lineName, name)) return value;
  return {};
}

TextsFile::Lines ReadTextsFileLines(DeviceSession& session) {
  TextsFile::Lines lines;
  // The header and footer lines come in the device's code page, the
  // identity values as they are.
  for (const protocol::InfoNumber& entry : protocol::TextsFileInfos()) {
    const std::string value = session.QueryInfo(entry.number);
    lines.emplace_back(entry.textsKey,
                       entry.form == protocol::InfoForm::kText852 ? encodings::DeviceToPc(value) : value);
  }
  return lines;
}

DocumentLines DocumentLinesOf(const TextsFile& file, DocumentPart part) {
  DocumentLines lines;
  for (int i = 0; i < kDocumentLines; ++i)
    lines[static_cast<std::size_t>(i)] = encodings::PcToDevice(file.Value(LineKey(part, i + 1)));
  return lines;
}

TaxIdentity TaxIdentityOf(const TextsFile& file) {
  return {file.Value("DIC"), file.Value("DKP"), file.Value("ICDPH"), file.Value("ICO")};
}

TextsFileWritten WriteTextsFile(DeviceSession& session, const TextsFile& file) {
  TextsFileWritten written;
  for (const DocumentPart part : {DocumentPart::kHeader, DocumentPart::kFooter}) {
    const Outcome lines = WriteDocumentLines(session, part, DocumentLinesOf(file, part));
    if (!lines.ok) written.outcome.Fail(lines.failure);
  }
  written.identity = WriteTaxIdentity(session, TaxIdentityOf(file));
  if (!written.identity.outcome.ok) written.outcome.Fail(written.identity.outcome.failure);
  return written;
}

}  // namespace korvena::operations
