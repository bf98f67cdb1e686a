#include "korvena/platform/tick_clock.h"

#include <windows.h>

namespace korvena {

uint32_t TickCount() { return GetTickCount(); }

void SleepMilliseconds(uint32_t ms) { Sleep(ms); }

}  // namespace korvena
