#include "header_footer.h"

#include <string>

#include "code_page_852.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "frm_head.h"
#include "kalibro_texts.h"
#include "windows1250.h"

namespace korvena::kalibro {
namespace {

struct DocumentLines {
  const char* caption;
  int firstInfo;        // info number of line 1; lines 2..10 follow
  const char* command;  // writes one line: password, index 0..9, text
  bool headerMode;
};

constexpr DocumentLines kHeader = {kHeadCaption, protocol::info::kHeaderLine1, "HL", true};
constexpr DocumentLines kFooter = {kTailCaption, protocol::info::kFooterLine1, "TL", false};

void EditDocumentLines(CommandSession& session, const DocumentLines& lines) {
  TfrmHead dialog(session.ui(), session.dialogOwner());
  dialog.setWindowTitle(Text(lines.caption));
  for (int i = 0; i < TfrmHead::kLineCount; ++i)
    dialog.SetLine(i, FromWindows1250(DeviceToPc(session.QueryInfo(lines.firstInfo + i))));
  dialog.SetHeaderMode(lines.headerMode);
  if (session.ui().ExecDialog(dialog) != kWriteResult) return;

  // All ten every time, changed or not; a refused line does not stop the
  // others.
  const std::string& password = session.state().LoginPassword;
  for (int i = 0; i < TfrmHead::kLineCount; ++i) {
    const std::string text = PcToDevice(ToWindows1250(dialog.Line(i)));
    session.SendCommand(protocol::CommandFrame(lines.command, {password, std::to_string(i), text}));
  }
}

}  // namespace

void popupHeadClick(CommandSession& session) { EditDocumentLines(session, kHeader); }

void popupTailClick(CommandSession& session) { EditDocumentLines(session, kFooter); }

}  // namespace korvena::kalibro
