#include "commands/header_footer.h"

#include <string>

#include "encodings/code_page_852.h"
#include "forms/frm_head.h"
#include "shell/kalibro_texts.h"
#include "korvena/operations/header_footer.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

using operations::DocumentPart;

struct DocumentDialog {
  const char* caption;
  DocumentPart part;
  bool headerMode;
};

constexpr DocumentDialog kHeader = {kHeadCaption, DocumentPart::kHeader, true};
constexpr DocumentDialog kFooter = {kTailCaption, DocumentPart::kFooter, false};

// The dialog shows the lines in the PC's code page; the device keeps 852.
void EditDocumentLines(CommandSession& session, const DocumentDialog& kind) {
  TfrmHead dialog(session.ui(), session.dialogOwner());
  dialog.setWindowTitle(Text(kind.caption));
  const operations::DocumentLines lines = operations::ReadDocumentLines(session.device(), kind.part);
  for (int i = 0; i < TfrmHead::kLineCount; ++i)
    dialog.SetLine(i, FromWindows1250(encodings::DeviceToPc(lines[static_cast<std::size_t>(i)])));
  dialog.SetHeaderMode(kind.headerMode);
  if (session.ui().ExecDialog(dialog) != kWriteResult) return;

  // All ten every time, changed or not; a refused line does not stop the others.
  operations::DocumentLines typed;
  for (int i = 0; i < TfrmHead::kLineCount; ++i)
    typed[static_cast<std::size_t>(i)] = encodings::PcToDevice(ToWindows1250(dialog.Line(i)));
  operations::WriteDocumentLines(session.device(), kind.part, typed);
}

}  // namespace

void popupHeadClick(CommandSession& session) { EditDocumentLines(session, kHeader); }

void popupTailClick(CommandSession& session) { EditDocumentLines(session, kFooter); }

}  // namespace korvena::kalibro
