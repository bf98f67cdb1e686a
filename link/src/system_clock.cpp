#include "korvena/link/clock.h"

#include "korvena/platform/tick_clock.h"

namespace korvena {

uint32_t SystemClock::Ticks() { return TickCount(); }

void SystemClock::Sleep(uint32_t ms) { SleepMilliseconds(ms); }

}  // namespace korvena
