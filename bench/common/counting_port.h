#pragma once
// The real port library, counting the bytes that cross it, and the share of
// the line's own time that an exchange took: what the transfer benchmarks
// measure against their goals.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "korvena/link/korvport_port.h"

// Ten bits a byte on the line: start, eight data, stop.
inline constexpr double kBitsPerByte = 10;

class CountingPort final : public korvena::Port {
 public:
  using Clock = std::chrono::steady_clock;

  uint8_t Open(int32_t port, int32_t baud) override { return inner_.Open(port, baud); }
  uint8_t Close() override { return inner_.Close(); }
  uint8_t Read(uint8_t& byte) override {
    const uint8_t arrived = inner_.Read(byte);
    if (arrived != 0) {
      ++received;
      if (received == 1) first = Clock::now();
      if (received == markAt) marked = Clock::now();
    }
    return arrived;
  }
  uint8_t Write(const void* data, int32_t option, int32_t count) override {
    const uint8_t done = inner_.Write(data, option, count);
    if (done != 0) sent += static_cast<uint64_t>(count);
    return done;
  }
  void SetPort(int32_t baud) override { inner_.SetPort(baud); }
  void Flush() override { inner_.Flush(); }
  bool WaitRead(uint32_t ms) override { return inner_.WaitRead(ms); }

  void Reset() { sent = received = 0; }

  uint64_t sent = 0;
  uint64_t received = 0;
  uint64_t markAt = 0;  // the count of received bytes whose arrival `marked` records
  Clock::time_point first;
  Clock::time_point marked;

 private:
  korvena::KorvportPort inner_;
};

// Reports the bytes of an iteration, their time on the wire at `baud`, and
// the elapsed time over that wire time (1.0: as fast as the line allows).
inline void ReportWireTime(benchmark::State& state, uint64_t bytes, double elapsedSeconds, int baud) {
  const double wire = static_cast<double>(bytes) * kBitsPerByte / baud;
  state.counters["bytes"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
  state.counters["wire_s"] = wire / static_cast<double>(state.iterations());
  state.counters["elapsed_over_wire"] = elapsedSeconds / wire;
}
