#pragma once
// The two commands that carry an HTX file into the device: one per 8-byte
// packet, each with its own 8-bit sum, and one that announces the length and
// the sum of the whole file. The file is opaque bytes here. Both programs
// that load templates (the console loader and the service program) build
// their commands with these.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvena {

inline constexpr std::size_t kHtxPacketSize = 8;
// The device's template buffer: a longer file does not fit.
inline constexpr std::size_t kHtxBufferSize = 5120;
// The console loader has no login; it sends this fixed password in the
// password field.
inline constexpr std::string_view kSendrixPassword = "846";

using HtxPacket = std::array<uint8_t, kHtxPacketSize>;

// The bytes of `file` at 8 * number; zero where the file has ended.
HtxPacket HtxPacketAt(std::string_view file, uint32_t number);

// The packet's bytes added modulo 256, padding included.
uint8_t HtxPacketSum(const HtxPacket& packet);

// ESC ";STHTX;" password ";" number ";" 16 upper-case hex digits ";" sum CR.
std::string HtxPacketCommand(std::string_view password, uint32_t number, const HtxPacket& packet);

// The file's bytes added modulo 65536, padding excluded.
uint16_t HtxFileSum(std::string_view file);

// ESC ";STHTXLEN;" password ";" size ";" sum CR.
std::string HtxLengthCommand(std::string_view password, uint32_t size, uint16_t sum);

// Sendrix sends packets 0 to this number inclusive: one more than the file
// needs when its size is a multiple of 8, and one packet for an empty file.
inline uint32_t HtxLastPacketNumber(std::size_t size) { return static_cast<uint32_t>(size / kHtxPacketSize); }

}  // namespace korvena
