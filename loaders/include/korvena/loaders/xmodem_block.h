#pragma once
// The firmware blocks: 133 bytes each, SOH, block number, its complement,
// 128 data bytes and their XMODEM CRC, high byte first.
#include <array>
#include <cstddef>
#include <cstdint>

namespace korvena::loaders {

inline constexpr uint8_t kSoh = 0x01;
inline constexpr uint8_t kEot = 0x04;
inline constexpr uint8_t kAck = 0x06;
inline constexpr std::size_t kBlockDataSize = 128;
inline constexpr std::size_t kBlockSize = 3 + kBlockDataSize + 2;

using BlockData = std::array<uint8_t, kBlockDataSize>;
using XmodemBlock = std::array<uint8_t, kBlockSize>;

// CRC-16 with polynomial 0x1021, initial value 0, most significant bit
// first, not reflected, no final XOR.
uint16_t XmodemCrc(const uint8_t* bytes, std::size_t count);

XmodemBlock BuildXmodemBlock(uint8_t number, const BlockData& data);

}  // namespace korvena::loaders
