#pragma once
// The fiscal memory the device hands out with READFP: one fixed-size record
// per daily closing, in order, then erased cells (0xFF) up to its end. The
// PC side stores it as it comes; tests compare what arrived with this image.
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvena::emu {

// The size of the device's fiscal memory.
inline constexpr uint32_t kFiscalMemoryBytes = 2097152;

// A record: closing number (32-bit, high byte first), date as BCD digits
// yyyymmdd (4 bytes), the day's turnover in cents (32-bit), documents
// (16-bit), cancelled documents (8-bit), and a check byte that makes the
// record's bytes add up to 0 modulo 256.
inline constexpr std::size_t kFiscalRecordBytes = 16;
// The closings recorded: ten years of days, which leaves most of the memory
// erased as on a real device.
inline constexpr uint32_t kRecordedClosings = 3650;

// The first `size` bytes of the fiscal memory (the image repeats nothing:
// past kFiscalMemoryBytes it is erased cells too).
std::string FiscalMemoryImage(std::size_t size);

}  // namespace korvena::emu
