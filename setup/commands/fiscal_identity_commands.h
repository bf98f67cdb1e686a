#pragma once
// The "&Nastavenie" commands for what the device stores about its owner and
// its own state: tax identity, VAT coefficients, the module register and
// commissioning.
#include "commands/command_session.h"

namespace korvena::kalibro {

void popupDICDKPClick(CommandSession& session);
void popupkDPHClick(CommandSession& session);
void popupRegisterClick(CommandSession& session);
void popupRepairClick(CommandSession& session);

}  // namespace korvena::kalibro
