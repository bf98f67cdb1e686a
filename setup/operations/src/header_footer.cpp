#include "korvena/operations/header_footer.h"

#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"

namespace korvena::operations {
namespace {

int FirstInfo(DocumentPart part) {
  return part == DocumentPart::kHeader ? protocol::info::kHeaderLine1 : protocol::info::kFooterLine1;
}

// Writes one line: password, index 0..9, text.
const char* Command(DocumentPart part) { return part == DocumentPart::kHeader ? "HL" : "TL"; }

}  // namespace

DocumentLines ReadDocumentLines(DeviceSession& session, DocumentPart part) {
  DocumentLines lines;
  for (int i = 0; i < kDocumentLines; ++i) lines[static_cast<std::size_t>(i)] = session.QueryInfo(FirstInfo(part) + i);
  return lines;
}

Outcome WriteDocumentLines(DeviceSession& session, DocumentPart part, const DocumentLines& lines) {
  Outcome outcome;
  for (int i = 0; i < kDocumentLines; ++i)
    outcome.Send(session,
                 protocol::CommandFrame(Command(part), {Password(session), std::to_string(i), lines[static_cast<std::size_t>(i)]}));
  return outcome;
}

}  // namespace korvena::operations
