#pragma once
// The command frame and its fields, the one way the suite builds and reads
// them: ESC, ";", the command name, ";"-separated arguments and CR. Bytes go
// unchanged, so a text in the device's code page passes through as it is.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace korvena::protocol {

inline constexpr char kEsc = '\x1b';
inline constexpr char kCr = '\r';
// Ends a CRC announcement frame instead of CR.
inline constexpr char kNul = '\0';

// ESC ";" name, then ";" and each argument, then CR.
std::string CommandFrame(std::string_view name, std::initializer_list<std::string_view> arguments = {});
std::string CommandFrame(std::string_view name, const std::vector<std::string>& arguments);

// The same ended by NUL instead of CR: the frame that announces the next
// command's check value (ESC ";CRC;" n NUL).
std::string AnnouncementFrame(std::string_view name, std::initializer_list<std::string_view> arguments);

// A command text as a till writes it (ESC ";" ... without the CR) made a
// frame: the text as it stands and CR.
std::string FrameOfText(std::string_view text);

// The info query ESC ";IV;" n CR, and the same under its other name INFO.
std::string InfoQueryFrame(int n);
std::string InfoQueryFrame(std::string_view n);
std::string InfoFrame(std::string_view n);

// The identification command, the info query of the status; a ready device
// answers "0".
inline constexpr std::string_view kIdentifyCommand = "\x1b;IV;0\r";

// Field n of a command text, numbered as the device numbers them: field 0
// is what comes before the first ";" (ESC), field 1 the name, field 2 the
// first argument. Empty when the text has fewer fields.
std::string_view CommandField(std::string_view text, std::size_t n);

// Every field of a command text, split at each ";" (so at least one).
std::vector<std::string> CommandFields(std::string_view text);

}  // namespace korvena::protocol
