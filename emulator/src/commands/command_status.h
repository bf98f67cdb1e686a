#pragma once
// The status numbers the device answers commands with, the same for every
// command family, and the two steps most commands share: checking the
// service password they carry first, and answering. A status other than "0"
// is also what the next query of info 0 reports, once, which is where the
// service program looks after a refused command.
//
// The numbers are the device's own copy, on purpose not the programs'
// protocol table: a wrong number there must show as a failing test, not
// pass unseen in the device and the program it tests alike. The info
// numbers (model/sales_info.h and the command families) and the arithmetic of
// amounts (model/vat_classes.h, receipt_commands.cpp) are kept apart likewise.
#include "korvena/emulator/device.h"

namespace korvena::emu {

inline constexpr const char* kDone = "0";
inline constexpr const char* kBadArgument = "1";  // unknown command, or an argument it cannot take
inline constexpr const char* kWrongState = "2";   // not now: no document open, or one open already
inline constexpr const char* kPaymentShort = "3";  // the payments do not cover the total
inline constexpr const char* kCrcMismatch = "4";   // the announced check value does not match
inline constexpr const char* kWrongPassword = "512";
inline constexpr const char* kSendAgain = "1024";  // a packet spoilt on the way: its sum does not match

// Replies `status`; one that is not kDone is kept for info 0.
void Answer(Device& device, const char* status);
// The same after a pause, for commands that answer once their work is done.
void AnswerAfter(Device& device, const char* status, uint32_t pauseMs);

// True when the command's first argument is the service password; otherwise
// answers kWrongPassword and the command must do nothing.
bool PasswordAccepted(Device& device, const Command& command);

}  // namespace korvena::emu
