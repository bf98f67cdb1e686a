#pragma once
// The receipt header and footer: ten lines each, read from the device into
// TfrmHead and written back, all ten, when the technician confirms.
#include "commands/command_session.h"

namespace korvena::kalibro {

void popupHeadClick(CommandSession& session);
void popupTailClick(CommandSession& session);

}  // namespace korvena::kalibro
