#pragma once
// The millisecond clock every deadline is measured on, as a seam: the system
// tick counter in production, a virtual clock in tests so that a 30-second
// limit costs microseconds and is exact.
#include <cstdint>

namespace korvena {

class Clock {
 public:
  virtual ~Clock() = default;
  // 32-bit millisecond counter; wraps, so compare with TicksSince/TickReached.
  virtual uint32_t Ticks() = 0;
  virtual void Sleep(uint32_t ms) = 0;
};

class SystemClock final : public Clock {
 public:
  uint32_t Ticks() override;
  void Sleep(uint32_t ms) override;
};

}  // namespace korvena
