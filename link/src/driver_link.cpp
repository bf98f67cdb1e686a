#include "korvena/link/driver_link.h"

#include "korvena/protocol/frame.h"

namespace korvena {

uint8_t CommandCrc(std::string_view text, uint8_t initial) {
  uint8_t crc = initial;
  for (const char c : text) {
    crc ^= static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint8_t>((crc >> 1) ^ 0x8C) : crc >> 1;
  }
  return crc;
}

std::string CrcAnnouncement(std::string_view command) {
  return protocol::AnnouncementFrame("CRC", {std::to_string(CommandCrc(command, 0))});
}

bool DriverLink::SendTextWithCrc(std::string_view text) {
  return SendText(CrcAnnouncement(text)) && SendText(text);
}

}  // namespace korvena
