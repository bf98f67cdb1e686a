// The status display is 59 info queries. Against a device paced at 9600 baud
// its build should take little more than its bytes need on the wire.
// Goal: elapsed / wire time within 1.10.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <memory>

#include "qt_benchmarks.h"
#include "kalibro_form.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/link/korvport_port.h"
#include "scripted_user_interaction.h"

namespace {

constexpr int kCom = 12;
constexpr int kBaud = 9600;
constexpr double kBitsPerByte = 10;

// The real port, counting the bytes that cross it.
class CountingPort final : public korvena::Port {
 public:
  uint8_t Open(int32_t port, int32_t baud) override { return inner_.Open(port, baud); }
  uint8_t Close() override { return inner_.Close(); }
  uint8_t Read(uint8_t& byte) override {
    const uint8_t arrived = inner_.Read(byte);
    bytes += arrived != 0;
    return arrived;
  }
  uint8_t Write(const void* data, int32_t option, int32_t count) override {
    const uint8_t sent = inner_.Write(data, option, count);
    if (sent != 0) bytes += static_cast<uint64_t>(count);
    return sent;
  }
  void SetPort(int32_t baud) override { inner_.SetPort(baud); }
  void Flush() override { inner_.Flush(); }

  uint64_t bytes = 0;

 private:
  korvena::KorvportPort inner_;
};

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
    port.bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    form->BuildStatusDisplay();
    elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bytes += port.bytes;
    port.Open(kCom, kBaud);  // closing the window closed the port
  }
  const double wire = static_cast<double>(bytes) * kBitsPerByte / kBaud;
  state.counters["bytes"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
  state.counters["wire_s"] = wire / static_cast<double>(state.iterations());
  state.counters["elapsed_over_wire"] = elapsed / wire;
}
BENCHMARK(BM_BuildStatusDisplayAt9600)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
