#include "commands/htx_upload.h"

#include <QFile>
#include <string>

#include "commands/command_session.h"
#include "shell/file_error.h"
#include "shell/kalibro_texts.h"
#include "korvena/link/htx_packets.h"
#include "korvena/operations/htx_upload.h"
#include "korvena/platform/whole_files.h"
#include "forms/progress_form.h"
#include "shell/window_wait.h"

namespace korvena::kalibro {

void popupSendrixClick(CommandSession& session) {
  FileDialogRequest request;
  request.filters = {Text(kHtxFileFilter)};
  request.mustExist = true;
  const QString chosen = session.ui().AskOpenFileName(request);
  if (chosen.isEmpty()) return;

  const std::string path = QFile::encodeName(chosen).toStdString();
  const FileContents file = ReadWholeFile(path, operations::kLargestHtx);
  // The device's buffer holds 5120 bytes; a longer file would go out cut.
  if (file.status == FileContents::kTooLarge) {
    session.ui().ShowError(Text(kHtxFileTooLarge).arg(chosen));
    return;
  }
  if (file.status != FileContents::kRead) throw FileError(FileError::kCannotOpen, path, file.status);

  operations::HtxProgress sent;
  {
    TProgressForm progress(session.dialogOwner());
    progress.setWindowTitle(Text(kWritingHtx));
    progress.PBar->setMaximum(static_cast<int>(file.bytes.size() / kHtxPacketSize + 1));
    progress.SetStep(1);
    progress.show();
    LetTheWindowLive();
    sent = operations::SendHtxPackets(session.device(), file.bytes, [&](const operations::HtxProgress& counters) {
      progress.StepIt();
      progress.LBar->setText(Text(kHtxProgress).arg(counters.sent).arg(counters.resends).arg(counters.errors));
      LetTheWindowLive();
    });
  }
  const operations::HtxUploaded uploaded = operations::FinishHtxUpload(session.device(), file.bytes, sent);
  session.ui().ShowInformation(Text(uploaded.loaded ? kHtxLoaded : kHtxNotLoaded));
}

}  // namespace korvena::kalibro
