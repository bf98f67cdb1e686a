#pragma once
// The driver library's copy of the command link: every command may be
// announced by a CRC frame, ESC ";CRC;" <decimal check value> NUL.
#include <cstdint>
#include <string>
#include <string_view>

#include "korvena/link/command_link.h"

namespace korvena {

// Reflected CRC-8, polynomial constant 0x8C, starting from `initial`.
uint8_t CommandCrc(std::string_view text, uint8_t initial);

// The announcement frame for `command` (ESC to CR inclusive).
std::string CrcAnnouncement(std::string_view command);

class DriverLink : public CommandLink {
 public:
  using CommandLink::CommandLink;
  // The announcement frame, then the text only if the frame went out.
  bool SendTextWithCrc(std::string_view text);
};

}  // namespace korvena
