// Any bytes from the PC to the emulated device's loader side: template
// packets and their checks, RESET, and the boot loader's block reader, at
// both line speeds and with its fault switches.
#include <cstdint>
#include <string>

#include "korvena/emulator/device.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvena::emu;
  if (size < 1) return 0;
  // The first byte picks the device: processor, start mode and NAK storm.
  DeviceSettings settings;
  settings.loader.processor = (data[0] & 1) ? Processor::kMega128 : Processor::kMega1281;
  settings.loader.startInBootLoader = (data[0] & 2) != 0;
  settings.loader.nakStorm = (data[0] >> 2) & 3;
  settings.loader.nakBlock = (data[0] >> 4) & 3;
  Device device(settings);
  // Then runs of bytes, each after a byte whose top bit picks the speed.
  for (size_t i = 1; i < size;) {
    const uint32_t baud = (data[i] & 0x80) ? 115200 : 9600;
    const size_t run = (data[i] & 0x7F) + 1;
    ++i;
    const size_t end = i + run < size ? i + run : size;
    device.Receive(std::string(reinterpret_cast<const char*>(data + i), end - i), baud);
    i = end;
    while (device.HasOutput()) device.TakeOutput();
  }
  const LoaderState& state = device.state().loader;
  if (state.htxIncoming.size() % 8 != 0 || state.firmware.size() % 128 != 0) __builtin_trap();
  return 0;
}
