#include <gtest/gtest.h>

#include "korvena/platform/tick_clock.h"

namespace korvena {
namespace {

TEST(TickArithmetic, WorksAcrossTheWrapOfTheCounter) {
  const struct {
    uint32_t start, now, since;
    bool reached;  // now >= start
  } cases[] = {
      {0xFFFFFFF0u, 0x00000010u, 0x20u, true},
      {0x00000010u, 0xFFFFFFF0u, 0xFFFFFFE0u, false},
      {100u, 100u, 0u, true},
      {0x7FFFFFFFu, 0x80000000u, 1u, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TicksSince(c.start, c.now), c.since);
    EXPECT_EQ(TickReached(c.now, c.start), c.reached);
  }
  EXPECT_FALSE(TickPassed(5u, 5u));
  EXPECT_TRUE(TickPassed(0u, 0xFFFFFFFFu));
}

TEST(TickCount, MovesForwardWithSleep) {
  // The counter may move in steps of 10 to 16 ms (as on Windows).
  const uint32_t before = TickCount();
  SleepMilliseconds(50);
  EXPECT_GE(TicksSince(before, TickCount()), 30u);
}

}  // namespace
}  // namespace korvena
