#include "korvena/link/htx_packets.h"

#include <algorithm>

#include "korvena/protocol/frame.h"

namespace korvena {

HtxPacket HtxPacketAt(std::string_view file, uint32_t number) {
  HtxPacket packet{};
  const std::size_t offset = static_cast<std::size_t>(number) * kHtxPacketSize;
  if (offset < file.size()) {
    const std::string_view bytes = file.substr(offset, kHtxPacketSize);
    std::copy(bytes.begin(), bytes.end(), packet.begin());
  }
  return packet;
}

uint8_t HtxPacketSum(const HtxPacket& packet) {
  uint8_t sum = 0;
  for (const uint8_t byte : packet) sum = static_cast<uint8_t>(sum + byte);
  return sum;
}

std::string HtxPacketCommand(std::string_view password, uint32_t number, const HtxPacket& packet) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const uint8_t byte : packet) {
    hex.push_back(kHexDigits[byte >> 4]);
    hex.push_back(kHexDigits[byte & 0x0F]);
  }
  return protocol::CommandFrame("STHTX", {password, std::to_string(number), hex, std::to_string(HtxPacketSum(packet))});
}

uint16_t HtxFileSum(std::string_view file) {
  uint16_t sum = 0;
  for (const char byte : file) sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(byte));
  return sum;
}

std::string HtxLengthCommand(std::string_view password, uint32_t size, uint16_t sum) {
  return protocol::CommandFrame("STHTXLEN", {password, std::to_string(size), std::to_string(sum)});
}

}  // namespace korvena
