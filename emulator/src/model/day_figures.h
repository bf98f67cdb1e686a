#pragma once
// The figures of one day that the daily closing prints, records and resets:
// the base and VAT of each rate, the payments by means, the deposits and the
// withdrawals. Reports print them; a recorded closing keeps them by info
// number, so an interval report adds up closings the same way.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "korvena/emulator/device_state.h"

namespace korvena::emu {

// Figures by info number: amounts in cents, counts.
using DayFigures = std::map<int, int64_t>;

// The name of a means of payment 0..5 on the paper.
const char* PaymentName(int means);

DayFigures CurrentDayFigures(const DeviceState& state);
void ResetDayFigures(DeviceState& state);
void AddDayFigures(DayFigures& sum, const DayFigures& add);

// The report lines of `figures`: each figure, and the day's sales with VAT.
std::vector<std::string> DayFigureLines(const DayFigures& figures);

}  // namespace korvena::emu
