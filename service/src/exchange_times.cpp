#include "korvena/service/exchange_times.h"

#include <algorithm>
#include <cmath>

namespace korvena::service {

void ExchangeTimes::Record(double seconds) {
  seconds = std::max(seconds, 0.0);
  const auto bucket =
      static_cast<std::size_t>(std::lower_bound(kBounds.begin(), kBounds.end(), seconds) - kBounds.begin());
  buckets_[bucket].fetch_add(1, std::memory_order_relaxed);
  sumMicros_.fetch_add(static_cast<uint64_t>(std::llround(seconds * 1e6)), std::memory_order_relaxed);
}

ExchangeTimes::Snapshot ExchangeTimes::Read() const {
  Snapshot snapshot;
  // Counted from the buckets, so the count always matches their sum even
  // while an exchange is being recorded.
  for (std::size_t i = 0; i < buckets_.size(); ++i) {
    snapshot.buckets[i] = buckets_[i].load(std::memory_order_relaxed);
    snapshot.count += snapshot.buckets[i];
  }
  snapshot.sum = static_cast<double>(sumMicros_.load(std::memory_order_relaxed)) / 1e6;
  return snapshot;
}

}  // namespace korvena::service
