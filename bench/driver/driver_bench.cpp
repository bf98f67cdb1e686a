// The driver library's own cost: time spent per character written when the
// device answers at once (so no waiting is counted), and the CPU a general
// command burns while it waits 30 s for a device that never answers.
#include <benchmark/benchmark.h>

#include <chrono>
#include <deque>
#include <string>

#include "process_cpu_time.h"
#include "korvena/driver/driver.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/link/korvport_port.h"
#include "korvena/link/six_call_port.h"

namespace {

using korvena::driver::Driver;
using korvena::driver::DriverHost;

// A device that answers "0" to every command the instant its CR is written.
class InstantPort final : public korvena::Port {
 public:
  uint8_t Open(int32_t, int32_t) override { return 1; }
  uint8_t Close() override { return 1; }
  uint8_t Read(uint8_t& byte) override {
    if (pending_.empty()) return 0;
    byte = static_cast<uint8_t>(pending_.front());
    pending_.pop_front();
    return 1;
  }
  uint8_t Write(const void* bytes, int32_t, int32_t count) override {
    const char* data = static_cast<const char*>(bytes);
    for (int32_t i = 0; i < count; ++i)
      if (data[i] == '\r') pending_.insert(pending_.end(), {'0', '\r'});
    return 1;
  }
  void SetPort(int32_t) override {}
  void Flush() override {}

 private:
  std::deque<char> pending_;
};

// The real port library, whose writes can be swallowed so that the device,
// though present for the start, never hears a later command.
class MutablePort final : public korvena::Port {
 public:
  bool swallowWrites = false;
  uint8_t Open(int32_t port, int32_t baud) override { return real_.Open(port, baud); }
  uint8_t Close() override { return real_.Close(); }
  uint8_t Read(uint8_t& byte) override { return real_.Read(byte); }
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override {
    return swallowWrites ? 1 : real_.Write(bytes, option, count);
  }
  void SetPort(int32_t baud) override { real_.SetPort(baud); }
  void Flush() override { real_.Flush(); }
  bool WaitRead(uint32_t ms) override { return real_.WaitRead(ms); }

 private:
  korvena::KorvportPort real_;
};

DriverHost QuietHost() {
  return DriverHost{.iniPath = "/nonexistent/KVORWXX.INI",
                    .workDir = "/tmp",
                    .today = [] { return korvena::LocalDate{2024, 1, 1}; },
                    .showWarning = [](const std::string&, const std::string&) {},
                    .portLibraryProblem = ""};
}

// Goal: under 1 us per character, a receipt line with its CR included.
void BM_WriteReceiptLinePerCharacter(benchmark::State& state) {
  InstantPort port;
  korvena::SystemClock clock;
  Driver driver(port, clock, QuietHost());
  if (driver.StartLibProc() != 0) return state.SkipWithError("start failed");
  const std::string line = "\x1b;L;1.000;2.50;A;Chlieb celozrnny 500 g\r";
  for (auto _ : state)
    for (const char c : line) benchmark::DoNotOptimize(driver.Write(static_cast<uint8_t>(c)));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(line.size()));
  state.counters["ns_per_character"] = benchmark::Counter(
      static_cast<double>(state.iterations() * line.size()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WriteReceiptLinePerCharacter);

// Storing one character that is not a CR: the common case of every call.
void BM_StoreCharacter(benchmark::State& state) {
  InstantPort port;
  korvena::SystemClock clock;
  Driver driver(port, clock, QuietHost());
  if (driver.StartLibProc() != 0) return state.SkipWithError("start failed");
  int n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(driver.Write('x'));
    if (++n == 30000) {  // stay below the buffer's limit, as real commands do
      state.PauseTiming();
      driver.Write('\r');
      n = 0;
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_StoreCharacter);

// Goal: a general command waiting 30 s for a silent device uses under 0.2 %
// of a core (wait/1); wait/0 polls as with a port library of six calls only.
void BM_SilentGeneralCommandCpu(benchmark::State& state) {
  korvena::emu::EmuProcess emulator;
  if (!emulator.Start({}, 12)) return state.SkipWithError("emulator did not start");
  MutablePort port;
  korvena::SixCallPort sixCalls(port);
  korvena::SystemClock clock;
  Driver driver(state.range(0) != 0 ? static_cast<korvena::Port&>(port) : sixCalls, clock, QuietHost());
  if (driver.StartLibProcEx(12, nullptr, nullptr, "9600", false) != 0) return state.SkipWithError("no device");
  port.swallowWrites = true;
  double cpu = 0, wall = 0;
  uint16_t result = 0;
  for (auto _ : state) {
    const double cpuStart = ProcessCpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    for (const char c : std::string("\x1b;DX\r")) result = driver.Write(static_cast<uint8_t>(c));
    cpu += ProcessCpuSeconds() - cpuStart;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  }
  driver.ExitLibProc();
  if (result != korvena::driver::kNoAnswer) return state.SkipWithError("the device answered");
  state.counters["wait_seconds"] = wall;
  state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
}
BENCHMARK(BM_SilentGeneralCommandCpu)->ArgName("wait")->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
