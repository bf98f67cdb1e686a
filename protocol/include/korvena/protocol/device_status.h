#pragma once
// The status numbers the device answers commands with.
#include <optional>
#include <string_view>

namespace korvena::protocol {

namespace status {
inline constexpr int kDone = 0;
inline constexpr int kBadArgument = 1;
inline constexpr int kNotNow = 2;
inline constexpr int kPaymentShort = 3;
inline constexpr int kCrcMismatch = 4;
inline constexpr int kWrongPassword = 512;
inline constexpr int kSendAgain = 1024;
}  // namespace status

// What status `number` means, in English, for messages; "unknown status"
// for a number the device is not known to answer.
std::string_view StatusMeaning(int number);

// True for a number the device answers as a status (those above).
bool IsDeviceStatus(int number);

// The status an answer line holds: a decimal number from 0 to 65535 with
// nothing around it; nullopt for anything else (an empty line included).
std::optional<int> StatusOfAnswer(std::string_view line);

}  // namespace korvena::protocol
