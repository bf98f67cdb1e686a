#pragma once
// The ten header and the ten footer lines of the receipt, as the device
// keeps them: bytes in its code page 852.
#include <array>
#include <string>

#include "korvena/operations/outcome.h"

namespace korvena::operations {

enum class DocumentPart { kHeader, kFooter };
inline constexpr int kDocumentLines = 10;
using DocumentLines = std::array<std::string, kDocumentLines>;

// Info 120..129 or 130..139, line 1 first.
DocumentLines ReadDocumentLines(DeviceSession& session, DocumentPart part);

// HL or TL for each of the ten lines, changed or not; a refused line does
// not stop the others.
Outcome WriteDocumentLines(DeviceSession& session, DocumentPart part, const DocumentLines& lines);

}  // namespace korvena::operations
