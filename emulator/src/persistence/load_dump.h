#pragma once
// Leaves what a loader put into the device in a file, for checks from
// outside the emulator: a template as htx.bin, firmware as firmware.bin.
#include <string>

#include "korvena/emulator/device.h"

namespace korvena::emu {

// Writes `bytes` whole to `name` in the device's dump folder, when it has
// one, the platform's way: a reader never sees half a file.
void DumpLoad(const Device& device, const std::string& name, const std::string& bytes);

}  // namespace korvena::emu
