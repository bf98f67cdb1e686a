// Commands the service program relies on.
#include "command_families.h"
#include "korvena/emulator/device.h"

namespace korvena::emu {

void RegisterSetupCommands(Device& device) {}

}  // namespace korvena::emu
