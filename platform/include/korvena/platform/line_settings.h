#pragma once
// Raw 8N1 line settings at any rate, including those that have no classic
// speed constant (14400, 28800), for serial ports and pseudo-terminals.
#include <cstdint>

namespace korvena {

// Raw mode, 8 data bits, no parity, 1 stop bit, no flow control, reads that
// never block, at `baud`. False when the line refuses the settings.
bool SetRawLine(int fd, uint32_t baud);

// Changes only the speed. False when the line refuses it.
bool SetLineSpeed(int fd, uint32_t baud);

// The line's current output speed in bits per second; 0 when unknown.
uint32_t LineSpeed(int fd);

// Rates this suite accepts at all; the line may still refuse some of them.
inline bool IsPlausibleBaud(int64_t baud) { return baud >= 50 && baud <= 4000000; }

}  // namespace korvena
