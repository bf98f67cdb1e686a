#include "encodings/unicode_code_pages.h"

#include <array>
#include <cstdint>
#include <optional>

namespace korvena::encodings {
namespace {

using UpperHalf = std::array<char16_t, 128>;

// The characters of bytes 0x80..0xFF.
constexpr UpperHalf kCodePage852 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7,  // 80
    0x0142, 0x00EB, 0x0150, 0x0151, 0x00EE, 0x0179, 0x00C4, 0x0106,  // 88
    0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A,  // 90
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0104, 0x0105, 0x017D, 0x017E,  // A0
    0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A,  // B0
    0x015E, 0x2563, 0x2551, 0x2557, 0x255D, 0x017B, 0x017C, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // C8
    0x0111, 0x0110, 0x010E, 0x00CB, 0x010F, 0x0147, 0x00CD, 0x00CE,  // D0
    0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580,  // D8
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161,  // E0
    0x0154, 0x00DA, 0x0155, 0x0170, 0x00FD, 0x00DD, 0x0163, 0x00B4,  // E8
    0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8,  // F0
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0,  // F8
};

// The five bytes Windows-1250 leaves unassigned stand for the C1 controls of
// the same number, so every byte comes back as it went.
constexpr UpperHalf kWindows1250 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

std::optional<unsigned char> ByteOf(char32_t c, const UpperHalf& table) {
  if (c < 0x80) return static_cast<unsigned char>(c);
  for (std::size_t index = 0; index < table.size(); ++index)
    if (table[index] == c) return static_cast<unsigned char>(0x80 + index);
  return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string ToUtf8(std::string_view bytes, const UpperHalf& table) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char byte : bytes) {
    const auto b = static_cast<uint8_t>(byte);
    AppendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{table[b - 0x80]});
  }
  return out;
}

// The next character of `text` from `at`, moving `at` past it; nullopt-like
// 0xFFFFFFFF for bytes that are no UTF-8 (overlong forms and surrogates too).
char32_t NextCharacter(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<uint8_t>(text[at++]);
  if (lead < 0x80) return lead;
  const int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || lead >= 0xF5) return 0xFFFFFFFF;
  char32_t c = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    if (at >= text.size() || (static_cast<uint8_t>(text[at]) & 0xC0) != 0x80) return 0xFFFFFFFF;
    c = (c << 6) | (static_cast<uint8_t>(text[at++]) & 0x3F);
  }
  const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return 0xFFFFFFFF;
  return c;
}

Encoded FromUtf8(std::string_view utf8, const UpperHalf& table) {
  Encoded encoded;
  std::size_t at = 0;
  while (at < utf8.size()) {
    const std::size_t start = at;
    const char32_t c = NextCharacter(utf8, at);
    if (c < 0x80) {
      encoded.bytes += static_cast<char>(c);
      continue;
    }
    const std::optional<unsigned char> byte = ByteOf(c, table);
    if (!byte) {
      encoded.bytes.clear();
      encoded.missing = std::string(utf8.substr(start, at - start));
      return encoded;
    }
    encoded.bytes += static_cast<char>(*byte);
  }
  return encoded;
}

}  // namespace

Encoded Utf8ToCodePage852(std::string_view utf8) { return FromUtf8(utf8, kCodePage852); }
Encoded Utf8ToWindows1250(std::string_view utf8) { return FromUtf8(utf8, kWindows1250); }
std::string CodePage852ToUtf8(std::string_view bytes) { return ToUtf8(bytes, kCodePage852); }
std::string Windows1250ToUtf8(std::string_view bytes) { return ToUtf8(bytes, kWindows1250); }

char16_t Windows1250Character(unsigned char byte) { return byte < 0x80 ? byte : kWindows1250[byte - 0x80]; }

std::optional<unsigned char> Windows1250Byte(char16_t character) { return ByteOf(character, kWindows1250); }

}  // namespace korvena::encodings
