#include "korvena/loaders/xmodem_block.h"

#include <algorithm>

namespace korvena::loaders {

uint16_t XmodemCrc(const uint8_t* bytes, std::size_t count) {
  uint16_t crc = 0;
  for (std::size_t i = 0; i < count; ++i) {
    crc = static_cast<uint16_t>(crc ^ (bytes[i] << 8));
    for (int bit = 0; bit < 8; ++bit)
      crc = static_cast<uint16_t>((crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1);
  }
  return crc;
}

XmodemBlock BuildXmodemBlock(uint8_t number, const BlockData& data) {
  XmodemBlock block{};
  block[0] = kSoh;
  block[1] = number;
  block[2] = static_cast<uint8_t>(number ^ 0xFF);
  std::copy(data.begin(), data.end(), block.begin() + 3);
  const uint16_t crc = XmodemCrc(data.data(), data.size());
  block[kBlockSize - 2] = static_cast<uint8_t>(crc >> 8);
  block[kBlockSize - 1] = static_cast<uint8_t>(crc & 0xFF);
  return block;
}

}  // namespace korvena::loaders
