#pragma once
// What a commissioned device reports through the info query before anyone
// has changed it: the values the service program's status display reads.
#include "korvena/emulator/device_state.h"

namespace korvena::emu {

// Info number of the device's version number, as a plain integer.
inline constexpr int kVersionNumberInfo = 1000;

// Fills every value the status display reads that is not set yet, so a value
// another command family (or the command line) chose first stays.
void FillSetupInfoValues(DeviceState& state);

}  // namespace korvena::emu
