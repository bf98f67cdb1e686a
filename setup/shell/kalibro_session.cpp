// The main window's part in a bulk read: the worker's session, and the
// window kept alive while the worker runs.
#include <QEventLoop>
#include <QTimer>

#include "shell/kalibro_form.h"
#include "shell/window_wait.h"

namespace korvena::kalibro {
namespace {

constexpr int kWorkerTickMs = 50;

}  // namespace

session::DeviceSession& TKalibroForm35::WorkerSession() {
  // The worker goes back to the line's own rate after a transfer.
  workerSession_.state() = session_.state();
  return workerSession_;
}

void TKalibroForm35::RunWorker(QThread& worker, const std::function<void()>& onTick,
                               std::atomic<bool>& stopRequested) {
  // A close request reaches the worker at once (closeEvent), not at the next tick.
  workerStop_ = &stopRequested;
  if (line_.interrupted()) stopRequested = true;
  QEventLoop loop;
  connect(&worker, &QThread::finished, &loop, &QEventLoop::quit);
  QTimer ticks;
  connect(&ticks, &QTimer::timeout, &loop, [&] {
    if (onTick) onTick();
  });
  ticks.start(kWorkerTickMs);
  worker.start(QThread::HighestPriority);
  // The window stays alive meanwhile; the menu stays greyed, as the guard is
  // held by the running command.
  if (!worker.isFinished()) loop.exec(kWhileWaiting);
  worker.wait();
  workerStop_ = nullptr;
  if (onTick) onTick();
}

}  // namespace korvena::kalibro
