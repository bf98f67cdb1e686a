#pragma once
// The smaller technician commands: the texts file, the device's clock and
// the date of its automatic daily closing, the line speeds, the fiscal
// emblem, zeroing the operating memory, pairing an older fiscal memory and
// a command typed in whole.
#include "commands/command_session.h"

namespace korvena::kalibro {

void popupFileClick(CommandSession& session);
void popupTimeClick(CommandSession& session);
void popupSetDDateClick(CommandSession& session);
void popupBaudRateClick(CommandSession& session);
void popupLoadMFClick(CommandSession& session);
void popupNGTClick(CommandSession& session);
void popupPairFPClick(CommandSession& session);
void popupUserCMDClick(CommandSession& session);

}  // namespace korvena::kalibro
