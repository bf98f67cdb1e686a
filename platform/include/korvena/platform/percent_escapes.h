#pragma once
// Bytes as %XX (two hex digits) where a text cannot hold them as they are:
// the values of the emulator's state file, the parts of a URL.
#include <optional>
#include <string>
#include <string_view>

namespace korvena {

// `bytes` with every byte that `keep` refuses written as %XX (upper case).
std::string PercentEscaped(std::string_view bytes, bool (*keep)(unsigned char byte));
// The bytes again; nothing for a % not followed by two hex digits.
std::optional<std::string> PercentUnescaped(std::string_view text);

}  // namespace korvena
