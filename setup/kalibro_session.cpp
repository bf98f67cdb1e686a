// The main window's session operations that go beyond the two exchanges:
// the raw exchange, a wait, the line speed, finding the device again, and
// running a bulk read on a worker thread.
#include <QEventLoop>
#include <QTimer>

#include "kalibro_form.h"

namespace korvena::kalibro {
namespace {

// The start-up waits five time-out units for each identification answer.
constexpr int32_t kIdentificationUnits = 5;
constexpr int kWorkerTickMs = 50;

}  // namespace

std::string TKalibroForm35::Exchange(std::string_view frame, uint32_t limitMs) {
  link_.SendText(frame);
  return link_.ReadResponse(limitMs);
}

void TKalibroForm35::Wait(uint32_t ms) { link_.clock().Sleep(ms); }

void TKalibroForm35::SetLineSpeed(int32_t baud) {
  line_.port().SetPort(baud);
  state_.PortBaud = baud;
}

int32_t TKalibroForm35::FindDevice() {
  const uint32_t limit = exchange_.Limit(kIdentificationUnits);
  if (link_.IdentifyDevice(limit)) return state_.PortBaud;
  const int32_t found = link_.FindBaudRate(limit);
  // Without a device the search leaves the line at its last rate.
  state_.PortBaud = found != 0 ? found : kBaudTable.back();
  return found;
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
  if (!worker.isFinished()) loop.exec();
  worker.wait();
  workerStop_ = nullptr;
  if (onTick) onTick();
}

}  // namespace korvena::kalibro
