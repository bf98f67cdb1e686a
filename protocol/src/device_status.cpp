#include "korvena/protocol/device_status.h"

namespace korvena::protocol {

std::string_view StatusMeaning(int number) {
  switch (number) {
    case status::kDone: return "done";
    case status::kBadArgument: return "bad argument or unknown command";
    case status::kNotNow: return "not now: no such document open, one open already, or nothing to do";
    case status::kPaymentShort: return "the payments do not cover the total";
    case status::kCrcMismatch: return "the announced CRC does not match; the command was dropped";
    case status::kWrongPassword: return "wrong service password";
    case status::kSendAgain: return "packet spoilt on the way; send it again";
    default: return "unknown status";
  }
}

bool IsDeviceStatus(int number) { return StatusMeaning(number) != StatusMeaning(-1); }

std::optional<int> StatusOfAnswer(std::string_view line) {
  if (line.empty() || line.size() > 5) return std::nullopt;
  int value = 0;
  for (const char c : line) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 65535) return std::nullopt;
  return value;
}

}  // namespace korvena::protocol
