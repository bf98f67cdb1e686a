// The status display is 59 info queries. Against a device paced at 9600 baud
// its build should take little more than its bytes need on the wire.
// Goal: elapsed / wire time within 1.10.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <memory>

#include "counting_port.h"
#include "qt_benchmarks.h"
#include "shell/kalibro_form.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/link/korvport_port.h"
#include "scripted_user_interaction.h"

namespace {

constexpr int kCom = 12;
constexpr int kBaud = 9600;

void BM_BuildStatusDisplayAt9600(benchmark::State& state) {
  korvena::emu::EmuProcess emulator;
  if (!emulator.Start({"--pace"}, kCom)) return state.SkipWithError("emulator did not start");
  CountingPort port;
  korvena::SystemClock clock;
  korvena::kalibro::ScriptedUserInteraction ui;
  if (port.Open(kCom, kBaud) == 0) return state.SkipWithError("port did not open");

  double elapsed = 0;
  uint64_t bytes = 0;
  for (auto _ : state) {
    auto form = std::make_unique<korvena::kalibro::TKalibroForm35>(port, clock, ui, std::string());
    form->show();
    port.Reset();
    const auto start = std::chrono::steady_clock::now();
    form->BuildStatusDisplay();
    elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bytes += port.sent + port.received;
    port.Open(kCom, kBaud);  // closing the window closed the port
  }
  ReportWireTime(state, bytes, elapsed, kBaud);
}
BENCHMARK(BM_BuildStatusDisplayAt9600)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
