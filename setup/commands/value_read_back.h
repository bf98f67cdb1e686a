#pragma once
// After a command the device's counters and check sums have moved; the
// status labels that show them are read again one by one, each exactly as
// the status display reads it (its info numbers, its brackets).
#include "commands/command_session.h"

namespace korvena::kalibro {

// Reads value label `name` ("vCRC", "vCntVklad", ...) of the status display
// again. A name the display does not have is a fault of the program.
void ReadBackValue(CommandSession& session, const char* name);

}  // namespace korvena::kalibro
