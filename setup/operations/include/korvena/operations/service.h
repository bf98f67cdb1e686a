#pragma once
// The service commands: the clock, the automatic daily closing, the line
// speeds, the fiscal emblem, zeroing the operating memory, pairing the
// fiscal memory and the free command.
#include <cstdint>
#include <string>

#include "korvena/operations/outcome.h"
#include "korvena/platform/local_date.h"

namespace korvena::operations {

using DateTime = LocalDateTime;

// Info 19, "dd.mm.yyyy hh:mm:ss", as answered.
std::string ReadClock(DeviceSession& session);
// What the clock dialog asks every second, with its own time limit.
std::string ClockQuery();
inline constexpr uint32_t kClockQueryLimitMs = 1000;
// STDATETIME; the seconds always go as 0, as the device counts from the
// minute it is set to.
Outcome SetClock(DeviceSession& session, const DateTime& time);

// Info 62.
std::string ReadAutomaticClosing(DeviceSession& session);
struct AutomaticClosingSet {
  Outcome outcome;
  std::string readBack;  // info 62 afterwards
};
AutomaticClosingSet SetAutomaticClosing(DeviceSession& session, const DateTime& time);

// The line speeds as indexes of protocol::kLineRates: the PC line's and the
// device's internal one, from the low byte of info 170 (ConversionError
// when it is no number).
struct LineSpeeds {
  int pc = 0;
  int internal = 0;
};
LineSpeeds ReadLineSpeeds(DeviceSession& session);
struct LineSpeedsSet {
  Outcome outcome;
  int32_t chosen = 0;  // the PC rate asked for
  int32_t inUse = 0;   // the rate the device answers at afterwards; 0 when lost
};
// STBRATE, a moment for the device to switch, then the PC follows and the
// device is found again (at the chosen rate or wherever it stayed).
LineSpeedsSet SetLineSpeeds(DeviceSession& session, const LineSpeeds& speeds);

// LOADMF with the printer type 1, 3, 4, 5 or 6.
Outcome LoadEmblem(DeviceSession& session, int printerType);
// The printer type of each printer the emblem dialog offers, in its order.
int EmblemPrinterType(int printerIndex);
inline constexpr int kEmblemPrinters = 8;

// STNGT: zeroes the operating memory's totals.
Outcome ZeroOperatingMemory(DeviceSession& session);

// STPAIRFP, after clearing the commissioned flag on a device whose version
// number is above 13021.
Outcome PairFiscalMemory(DeviceSession& session);

// ESC ";" text CR: the command's name and arguments as given. Its answer
// may be a status or data (an info query's value, say).
struct FreeCommandAnswered {
  Outcome outcome;     // taken only when the answer was "0"
  std::string answer;  // the answer line as it came; empty when none came
};
FreeCommandAnswered SendFreeCommand(DeviceSession& session, const std::string& text);

}  // namespace korvena::operations
