// Both code-page conversions over all 256 bytes, against the published
// Unicode mappings of the two code pages rather than against the tables the
// conversions use.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <string>

#include "encodings/code_page_852.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

using UpperHalf = std::array<char16_t, 128>;

// Code page 852, bytes 0x80..0xFF.
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

// Windows-1250, bytes 0x80..0xFF, as the program's own conversion to Qt
// reads them (tested on its own); 0 for the five unassigned bytes.
UpperHalf Windows1250() {
  UpperHalf characters{};
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const char16_t character = FromWindows1250(std::string(1, static_cast<char>(byte))).at(0).unicode();
    characters[static_cast<std::size_t>(byte - 0x80)] = character < 0xA0 ? 0 : character;
  }
  return characters;
}
const UpperHalf kWindows1250 = Windows1250();

std::map<unsigned char, unsigned char> Replacements(std::initializer_list<unsigned char> bytes, unsigned char to) {
  std::map<unsigned char, unsigned char> replacements;
  for (const unsigned char byte : bytes) replacements[byte] = to;
  return replacements;
}

std::map<unsigned char, unsigned char> Merge(std::initializer_list<std::map<unsigned char, unsigned char>> parts) {
  std::map<unsigned char, unsigned char> merged;
  for (const auto& part : parts) merged.insert(part.begin(), part.end());
  return merged;
}

// The byte that shows `byte` of `from` in `to`, or the replacement listed
// for it; "_" for a character without counterpart that nothing lists (none
// of either code page is left so, but that is the rule for what cannot be
// shown).
unsigned char Expected(unsigned char byte, const UpperHalf& from, const UpperHalf& to,
                       const std::map<unsigned char, unsigned char>& replacements) {
  if (byte < 0x80) return byte;
  if (const auto listed = replacements.find(byte); listed != replacements.end()) return listed->second;
  const char16_t character = from[byte - 0x80];
  for (std::size_t i = 0; i < to.size(); ++i)
    if (character != 0 && to[i] == character) return static_cast<unsigned char>(0x80 + i);
  return '_';
}

TEST(CodePage852, EveryByteShowsTheSameCharacterOrItsListedReplacement) {
  const struct {
    const char* direction;
    std::function<std::string(std::string_view)> convert;
    const UpperHalf& from;
    const UpperHalf& to;
    std::map<unsigned char, unsigned char> replacements;
  } cases[] = {
      {"device to PC", encodings::DeviceToPc, kCodePage852, kWindows1250,
       Merge({{{0xAA, 0xA0}, {0xFA, 0xB7}},
              Replacements({0xB0, 0xB1, 0xB2, 0xDB, 0xDC, 0xDF, 0xEE, 0xFE, 0xFF}, '_'),
              Replacements({0xB3, 0xB4, 0xB9, 0xBA, 0xCC}, 0xA6),
              Replacements({0xBB, 0xBC, 0xBF, 0xC0, 0xC3, 0xC5, 0xC8, 0xC9, 0xCE, 0xD9, 0xDA}, '+'),
              Replacements({0xC1, 0xC2, 0xC4, 0xCA, 0xCB, 0xCD}, '-')})},
      {"PC to device", encodings::PcToDevice, kWindows1250, kCodePage852,
       Merge({{{0x82, ','}, {0x91, '`'}, {0x85, '.'}, {0x89, '%'}, {0x8B, '<'}, {0x9B, '>'}, {0xA6, '|'},
               {0xA9, 'C'}, {0xAE, 'R'}, {0xA0, 0xAA}, {0xB7, 0xFA}},
              Replacements({0x80, 0x81, 0x83, 0x88, 0x90, 0x98, 0xAC}, 0xFE),
              Replacements({0x84, 0x92, 0x93, 0x94}, '"'),
              Replacements({0x96, 0x97}, '-'),
              Replacements({0x86, 0x87, 0x95, 0x99, 0xB1, 0xB5, 0xB6}, '_')})},
  };
  for (const auto& c : cases) {
    std::string allBytes;
    for (int byte = 0; byte < 256; ++byte) allBytes.push_back(static_cast<char>(byte));
    const std::string converted = c.convert(allBytes);
    ASSERT_EQ(converted.size(), 256u) << c.direction;
    for (int byte = 0; byte < 256; ++byte)
      EXPECT_EQ(static_cast<unsigned char>(converted[byte]),
                Expected(static_cast<unsigned char>(byte), c.from, c.to, c.replacements))
          << c.direction << ", byte " << byte;
  }
}

}  // namespace
}  // namespace korvena::kalibro
