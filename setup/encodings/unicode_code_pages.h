#pragma once
// Texts from a command line or JSON (UTF-8) in the code pages of the device
// (852) and of the PC's files (Windows-1250), and back. Bytes below 0x80
// are the same in all three.
#include <optional>
#include <string>
#include <string_view>

namespace korvena::encodings {

// What a conversion into a code page gives: the bytes, or, when the text
// holds a character the code page lacks or is no valid UTF-8, that
// character (as it was written) in `missing`, and no bytes.
struct Encoded {
  std::string bytes;
  std::string missing;
  bool ok() const { return missing.empty(); }
};

Encoded Utf8ToCodePage852(std::string_view utf8);
Encoded Utf8ToWindows1250(std::string_view utf8);

// Every byte has a character: Windows-1250's five unassigned bytes stand for
// the C1 controls of the same number.
std::string CodePage852ToUtf8(std::string_view bytes);
std::string Windows1250ToUtf8(std::string_view bytes);

// One character of Windows-1250 (UTF-16), both ways; nullopt for a
// character the code page lacks.
char16_t Windows1250Character(unsigned char byte);
std::optional<unsigned char> Windows1250Byte(char16_t character);

}  // namespace korvena::encodings
