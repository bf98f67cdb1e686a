#include "commands/bulk_reads.h"

#include <atomic>
#include <optional>

#include "shell/bulk_readers.h"
#include "commands/command_session.h"
#include "shell/file_error.h"
#include "shell/kalibro_texts.h"
#include "forms/progress_form.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {
namespace {

// Runs `worker` with a progress window captioned `caption`, then tells the
// technician how it ended: `doneText`, or an error box naming the file that
// could not be written. Nothing when the window closed meanwhile.
void RunBulkRead(CommandSession& session, TBulkReadThread& worker, std::atomic<bool>& stopRequested,
                 const QString& caption, const QString& doneText) {
  {
    TProgressForm progress;
    CenterOn(progress, *session.dialogOwner());
    progress.setWindowTitle(caption);
    progress.show();
    worker.ReadDone = false;
    session.RunWorker(
        worker, [&] { progress.PBar->setValue(worker.ReadProgress.load(std::memory_order_relaxed)); }, stopRequested);
  }
  if (stopRequested) return;
  if (worker.outcome() == TBulkReadThread::Outcome::kNotSaved) {
    session.ui().ShowError(FileError(FileError::kCannotCreate, worker.fileName()).message());
    return;
  }
  session.ui().ShowInformation(doneText);
}

}  // namespace

void popupFPClick(CommandSession& session) {
  std::atomic<bool> stopRequested{false};
  TReadFPThread worker({session.WorkerSession(), stopRequested});
  RunBulkRead(session, worker, stopRequested, Text(kReadingFiscalMemory), Text(kFiscalMemoryRead));
}

void popupSDClick(CommandSession& session) {
  const std::optional<QString> day = session.ui().AskText(QString(), Text(kAskSdDay), QString());
  if (!day || day->isEmpty()) return;
  std::atomic<bool> stopRequested{false};
  TReadDataThread worker({session.WorkerSession(), stopRequested}, *day);
  const QString fileName = SdDayFileName(*day);
  RunBulkRead(session, worker, stopRequested, fileName, Text(kSdDayFileCreated).arg(fileName));
}

}  // namespace korvena::kalibro
