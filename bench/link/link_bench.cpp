// The line under load: what polling a silent port costs, how fast bytes come
// through the port library one Read at a time, and whether a paced device
// keeps up with its line rate.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "process_cpu_time.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/link/command_link.h"
#include "korvena/link/korvport_port.h"
#include "korvena/link/six_call_port.h"

namespace {

// Each iteration waits 2 s for an answer; reports the share of a core used.
void WaitForAnswersThatNeverCome(benchmark::State& state, korvena::CommandLink& link) {
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    const double cpuStart = ProcessCpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(link.ReadResponse(2000));
    cpu += ProcessCpuSeconds() - cpuStart;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  }
  state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
}

// Goal: a 2-second wait for an answer that never comes uses under 0.2 % of a
// core (wait/1); wait/0 polls as with a port library of six calls only.
void BM_ReadResponseOnSilentPort(benchmark::State& state) {
  korvena::emu::EmuProcess emulator;
  if (!emulator.Start({"--silent"}, 11)) return state.SkipWithError("emulator did not start");
  korvena::KorvportPort port;
  korvena::SixCallPort sixCalls(port);
  korvena::SystemClock clock;
  korvena::CommandLink link(state.range(0) != 0 ? static_cast<korvena::Port&>(port) : sixCalls, clock);
  port.Open(11, 9600);
  WaitForAnswersThatNeverCome(state, link);
  port.Close();
}
BENCHMARK(BM_ReadResponseOnSilentPort)->ArgName("wait")->Arg(1)->Arg(0)->Iterations(2)->Unit(benchmark::kMillisecond);

// Goal: waiting 2 s for an answer on a line whose device has vanished (the
// other end closed, as an unplugged adapter) uses under 0.2 % of a core
// (wait/1), under 5 % when polled (wait/0): a hang-up must never make a
// wait spin.
void BM_ReadResponseOnVanishedLine(benchmark::State& state) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  grantpt(master);
  unlockpt(master);
  setenv("KORVPORT_COM14", ptsname(master), 1);
  korvena::KorvportPort port;
  korvena::SixCallPort sixCalls(port);
  korvena::SystemClock clock;
  korvena::CommandLink link(state.range(0) != 0 ? static_cast<korvena::Port&>(port) : sixCalls, clock);
  if (port.Open(14, 9600) != 1) return state.SkipWithError("the pseudo-terminal did not open");
  close(master);  // the device goes away
  WaitForAnswersThatNeverCome(state, link);
  port.Close();
}
BENCHMARK(BM_ReadResponseOnVanishedLine)->ArgName("wait")->Arg(1)->Arg(0)->Iterations(2)->Unit(benchmark::kMillisecond);

// Goal: over 20 MB/s from an unpaced pseudo-terminal, one byte per Read call.
void BM_ReadOneBytePerCall(benchmark::State& state) {
  // Non-blocking, so the writer can notice that the reader has finished.
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  grantpt(master);
  unlockpt(master);
  setenv("KORVPORT_COM12", ptsname(master), 1);
  korvena::KorvportPort port;
  port.Open(12, 115200);
  constexpr std::size_t kBytes = 64 << 20;
  std::atomic<bool> done{false};
  std::thread writer([&] {
    static char block[4096] = {};
    for (std::size_t sent = 0; sent < kBytes && !done;) {
      const ssize_t n = write(master, block, sizeof block);
      if (n > 0) {
        sent += static_cast<std::size_t>(n);
      } else {
        pollfd room{master, POLLOUT, 0};
        poll(&room, 1, 10);
      }
    }
  });
  std::size_t received = 0;
  for (auto _ : state) {
    uint8_t byte = 0;
    received += port.Read(byte);
    if (received >= kBytes) break;
  }
  done = true;
  writer.join();
  port.Close();
  close(master);
  state.SetBytesProcessed(static_cast<int64_t>(received));
}
BENCHMARK(BM_ReadOneBytePerCall)->Iterations(32 << 20);

// Goal: within 3 % of 11,520 bytes a second from a device paced at 115200.
void BM_PacedDeviceAt115200(benchmark::State& state) {
  const std::string payload(23040, 'K');  // two seconds on the wire
  korvena::emu::EmuProcess emulator;
  if (!emulator.Start({"--pace", "--baud", "115200", "--info", "77=" + payload}, 13))
    return state.SkipWithError("emulator did not start");
  korvena::KorvportPort port;
  korvena::SystemClock clock;
  korvena::CommandLink link(port, clock);
  port.Open(13, 115200);
  double seconds = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    link.SendText("\x1b;IV;77\r");
    // Time from the first byte of the answer to its CR: the line rate alone.
    uint8_t first = 0;
    while (port.Read(first) == 0) {
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string rest = link.ReadResponse(10000);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bytes += rest.size() + 1;  // the CR arrived too
  }
  port.Close();
  state.counters["bytes_per_second"] = static_cast<double>(bytes) / seconds;
  state.counters["percent_of_11520"] = 100.0 * static_cast<double>(bytes) / seconds / 11520.0;
}
BENCHMARK(BM_PacedDeviceAt115200)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
