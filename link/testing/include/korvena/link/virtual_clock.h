#pragma once
// A clock for tests: time moves only when code sleeps or when a test port
// answers an empty poll, so deadlines are exact and cost no waiting.
#include <cstdint>
#include <optional>

#include "korvena/link/clock.h"

namespace korvena {

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(uint32_t start = 0) : now_(start) {}
  uint32_t Ticks() override { return now_; }
  void Sleep(uint32_t ms) override {
    now_ += ms;
    slept_ += ms;
  }
  void Advance(uint32_t ms) { now_ += ms; }
  // Total milliseconds spent in Sleep.
  uint64_t slept() const { return slept_; }

  // A test port's wait: the clock moves as a loop of empty polls of `step`
  // ms each would move it, so a wait ends on the very tick such a loop would
  // have seen. It stops at the first step that reaches tick `until` (when
  // given) if that comes within `ms`, else after as many steps as fit in
  // `ms`. True when `until` was reached.
  bool AdvanceInSteps(uint32_t step, uint32_t ms, std::optional<uint32_t> until) {
    const bool reached = until && static_cast<int32_t>(now_ - *until) >= 0;
    if (reached || step == 0) return reached;
    const uint32_t fitting = ms / step;
    if (until) {
      const uint32_t gap = *until - now_;
      const uint32_t needed = gap / step + (gap % step != 0 ? 1 : 0);
      if (needed <= fitting) {
        now_ += needed * step;
        return true;
      }
    }
    now_ += fitting * step;
    return false;
  }

 private:
  uint32_t now_;
  uint64_t slept_ = 0;
};

}  // namespace korvena
