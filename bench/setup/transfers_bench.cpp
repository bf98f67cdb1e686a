// Kalibro's two transfers against korvena-emu paced like a real line.
//
// The fiscal memory (256 KiB at 115200) is read one byte per port call on a
// worker thread; the bytes must come as fast as the line brings them.
// Goal: bytes per second from the memory's first byte to its last, as a
// share of the line's 11,520, at least 0.97.
//
// The template upload (5120 bytes at 9600) is 640 packet exchanges and the
// finish command, each waiting for its reply. Goal: elapsed / wire time of
// every byte both ways within 1.10.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <chrono>
#include <memory>

#include "counting_port.h"
#include "qt_benchmarks.h"
#include "shell/kalibro_form.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/link/korvport_port.h"
#include "korvena/platform/scratch_folder.h"
#include "scripted_user_interaction.h"

namespace {

using Clock = CountingPort::Clock;

constexpr int kCom = 14;
// The emulator's own unless told otherwise.
constexpr const char* kServicePassword = "0";

// Kalibro's main window on `port` at `baud`, logged in with the emulator's
// service password, without the start-up dialogs.
std::unique_ptr<korvena::kalibro::TKalibroForm35> OpenWindow(CountingPort& port, korvena::Clock& clock,
                                                              korvena::kalibro::ScriptedUserInteraction& ui,
                                                              int32_t baud) {
  auto form = std::make_unique<korvena::kalibro::TKalibroForm35>(port, clock, ui, std::string());
  form->show();
  form->state().PortBaud = baud;
  form->state().LoginPassword = std::string(kServicePassword);
  return form;
}

void BM_ReadFiscalMemoryAt115200(benchmark::State& state) {
  constexpr int32_t kBaud = 115200;
  constexpr uint32_t kMemoryBytes = 256 * 1024;
  korvena::emu::EmuProcess emulator;
  if (!emulator.Start({"--pace", "--baud", std::to_string(kBaud), "--fiscal-memory", std::to_string(kMemoryBytes)},
                      kCom))
    return state.SkipWithError("emulator did not start");
  korvena::ScratchFolder folder;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(folder.path()));
  CountingPort port;
  korvena::SystemClock clock;
  korvena::kalibro::ScriptedUserInteraction ui;
  double seconds = 0;
  uint64_t bytes = 0;
  for (auto _ : state) {
    if (port.Open(kCom, kBaud) == 0) return state.SkipWithError("port did not open");
    auto form = OpenWindow(port, clock, ui, kBaud);
    port.Reset();
    // The memory's last byte, not the device's closing line after it.
    port.markAt = kMemoryBytes;
    form->MenuAction("popupFP")->trigger();
    // N bytes arrive over N - 1 byte times after the first.
    seconds += std::chrono::duration<double>(port.marked - port.first).count();
    bytes += kMemoryBytes - 1;
    form.reset();  // closes the port
  }
  QDir::setCurrent(previous);
  if (!folder.Has("korvena.bin") || folder.Read("korvena.bin").size() != kMemoryBytes)
    return state.SkipWithError("the fiscal memory did not arrive whole");
  const double lineBytesPerSecond = kBaud / kBitsPerByte;
  state.counters["bytes_per_s"] = static_cast<double>(bytes) / seconds;
  state.counters["share_of_line"] = static_cast<double>(bytes) / seconds / lineBytesPerSecond;
}
BENCHMARK(BM_ReadFiscalMemoryAt115200)->Unit(benchmark::kSecond)->Iterations(1);

void BM_UploadTemplate5120At9600(benchmark::State& state) {
  constexpr int32_t kBaud = 9600;
  korvena::emu::EmuProcess emulator;
  if (!emulator.Start({"--pace", "--baud", std::to_string(kBaud)}, kCom + 1))
    return state.SkipWithError("emulator did not start");
  korvena::ScratchFolder folder;
  const QString file = QString::fromStdString(folder.Write("bench.htx", std::string(5120, '\x5A')));
  CountingPort port;
  korvena::SystemClock clock;
  korvena::kalibro::ScriptedUserInteraction ui;
  double elapsed = 0;
  uint64_t bytes = 0;
  for (auto _ : state) {
    if (port.Open(kCom + 1, kBaud) == 0) return state.SkipWithError("port did not open");
    auto form = OpenWindow(port, clock, ui, kBaud);
    ui.fileAnswers = {file};
    ui.messages.clear();
    port.Reset();
    const auto start = Clock::now();
    form->MenuAction("popupSendrix")->trigger();
    elapsed += std::chrono::duration<double>(Clock::now() - start).count();
    bytes += port.sent + port.received;
    if (ui.MessageTexts() != QStringList{QString::fromUtf8("Nahratie HTX prebehlo v poriadku.")})
      return state.SkipWithError("the device did not take the template");
    form.reset();
  }
  ReportWireTime(state, bytes, elapsed, kBaud);
}
BENCHMARK(BM_UploadTemplate5120At9600)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
