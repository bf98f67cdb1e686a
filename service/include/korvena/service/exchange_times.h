#pragma once
// How long a device took to answer each frame, as a histogram /metrics
// shows. The worker records from its own thread while a request reads it
// from another: relaxed atomics only, no lock on the line's path.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace korvena::service {

class ExchangeTimes {
 public:
  // The upper bounds of the buckets, in seconds; one more bucket counts the rest.
  static constexpr std::array<double, 12> kBounds = {0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10, 30};

  void Record(double seconds);

  struct Snapshot {
    std::array<uint64_t, kBounds.size() + 1> buckets{};  // each bucket's own count, not cumulative
    uint64_t count = 0;
    double sum = 0;
  };
  Snapshot Read() const;

 private:
  std::array<std::atomic<uint64_t>, kBounds.size() + 1> buckets_{};
  std::atomic<uint64_t> sumMicros_{0};  // whole microseconds: an atomic double would need a CAS loop
};

}  // namespace korvena::service
