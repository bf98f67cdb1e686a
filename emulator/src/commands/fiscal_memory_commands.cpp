// READFP: the device hands out its whole fiscal memory.
#include "commands/command_families.h"
#include "korvena/emulator/device.h"
#include "korvena/emulator/fiscal_memory.h"

namespace korvena::emu {
namespace {

// The memory travels at this speed, whatever the device's own...
constexpr uint32_t kFiscalMemoryBaud = 115200;
// ...after a pause in which the PC switches its side of the line.
constexpr uint32_t kSpeedChangePauseMs = 50;
// The PC reads until it has the whole memory or the line has been quiet for
// 500 ms, then goes back to its speed and waits 500 ms for the closing line.
// So the line follows a whole memory at once, but a shorter one (a read-out
// that broke off) only after the PC has stopped listening at 115200.
constexpr uint32_t kClosingAfterBreakMs = 600;

// ESC ";READFP": the memory at 115200, then a closing "0" at the device's speed.
void SendFiscalMemory(Device& device, const Command&) {
  const uint32_t size = device.settings().fiscalMemoryBytes;
  device.Send(FiscalMemoryImage(size), kFiscalMemoryBaud, kSpeedChangePauseMs);
  device.Send("0\r", 0, size < kFiscalMemoryBytes ? kClosingAfterBreakMs : kSpeedChangePauseMs);
}

}  // namespace

void RegisterFiscalMemoryCommands(Device& device) { device.Register("READFP", SendFiscalMemory); }

}  // namespace korvena::emu
