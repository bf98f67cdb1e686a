#pragma once
// The system's 32-bit millisecond tick counter and sleep. Every time limit of
// the suite is measured on this counter, and because it wraps after about 49.7
// days, all comparisons go through the helpers below instead of plain '<'.
#include <cstdint>

namespace korvena {

// Milliseconds of a monotonic clock, truncated to 32 bits.
uint32_t TickCount();

void SleepMilliseconds(uint32_t ms);

// Milliseconds from `start` to `now`, correct across one wrap of the counter.
inline uint32_t TicksSince(uint32_t start, uint32_t now) { return now - start; }

// True once `now` has reached or passed `deadline` (deadlines within 2^31 ms).
inline bool TickReached(uint32_t now, uint32_t deadline) {
  return static_cast<int32_t>(now - deadline) >= 0;
}

// True once `now` is strictly past `deadline`.
inline bool TickPassed(uint32_t now, uint32_t deadline) {
  return static_cast<int32_t>(now - deadline) > 0;
}

}  // namespace korvena
