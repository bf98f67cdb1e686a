// Commands the template and firmware loaders rely on.
#include "command_families.h"
#include "korvena/emulator/device.h"

namespace korvena::emu {

void RegisterLoaderCommands(Device& device) {}

}  // namespace korvena::emu
