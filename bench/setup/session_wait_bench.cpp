// What Kalibro's session costs while a device keeps it waiting: a command
// to a silent device through the window's responsive line and the real
// port library, for its full 50 time-out units and the status query after.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>

#include "korvena/emulator/emu_process.h"
#include "korvena/link/korvport_port.h"
#include "korvena/link/six_call_port.h"
#include "korvena/session/device_session.h"
#include "process_cpu_time.h"
#include "qt_benchmarks.h"
#include "shell/responsive_line.h"

namespace {

// Goal: under 0.2 % of a core while waiting (wait/1); wait/0 polls as with
// a port library of the six calls only, as the session did before.
void BM_SilentCommandThroughKalibrosSession(benchmark::State& state) {
  korvena::emu::EmuProcess emulator;
  if (!emulator.Start({"--silent"}, 13)) return state.SkipWithError("emulator did not start");
  korvena::KorvportPort real;
  korvena::SixCallPort sixCalls(real);
  korvena::Port& port = state.range(0) != 0 ? static_cast<korvena::Port&>(real) : sixCalls;
  korvena::SystemClock clock;
  korvena::kalibro::ResponsiveLine line(port, clock, [] {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  korvena::session::DeviceSession session(line.port(), line.clock(), [] { QCoreApplication::processEvents(); });
  session.state().TimeoutUnit = 500;  // 25 s for the command, 5 s for the status query
  if (port.Open(13, 9600) != 1) return state.SkipWithError("the port did not open");
  double cpu = 0, wall = 0;
  bool done = true;
  for (auto _ : state) {
    const double cpuStart = ProcessCpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    done = session.SendCommand("\x1b;STNGT;\r");
    cpu += ProcessCpuSeconds() - cpuStart;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  }
  port.Close();
  if (done) return state.SkipWithError("the device answered");
  state.counters["wait_seconds"] = wall;
  state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
}
BENCHMARK(BM_SilentCommandThroughKalibrosSession)
    ->ArgName("wait")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
