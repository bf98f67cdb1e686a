#pragma once
// A clock for tests: time moves only when code sleeps or when a test port
// answers an empty poll, so deadlines are exact and cost no waiting.
#include <cstdint>

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

 private:
  uint32_t now_;
  uint64_t slept_ = 0;
};

}  // namespace korvena
