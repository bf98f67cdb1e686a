// Commands the driver library relies on.
#include "command_families.h"
#include "korvena/emulator/device.h"

namespace korvena::emu {

void RegisterDriverCommands(Device& device) {}

}  // namespace korvena::emu
