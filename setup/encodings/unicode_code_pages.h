#pragma once
// Texts from a command line or JSON (UTF-8) in the code pages of the device
// (852) and of the PC's files (Windows-1250), and back. Bytes below 0x80
// are the same in all three.
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

// Bytes the code page leaves undefined become U+FFFD.
std::string CodePage852ToUtf8(std::string_view bytes);
std::string Windows1250ToUtf8(std::string_view bytes);

}  // namespace korvena::encodings
