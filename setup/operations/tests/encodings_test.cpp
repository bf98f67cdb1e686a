// The code pages against each other: the device's 852, the PC's 1250, UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "encodings/code_page_852.h"
#include "encodings/unicode_code_pages.h"

namespace korvena::encodings {
namespace {

std::string UpperHalf() {
  std::string bytes;
  for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(UnicodeCodePages, EveryByteComesBackAndTheTwoTablesAgreeWithTheDevicesConversion) {
  const std::string all = UpperHalf();
  EXPECT_EQ(Utf8ToCodePage852(CodePage852ToUtf8(all)).bytes, all);
  // The device's conversion swaps these four on purpose (see code_page_852.cpp).
  const std::string swapped = "\xAA\xEE\xFA\xFF";
  for (const char byte : all) {
    const std::string character = CodePage852ToUtf8(std::string(1, byte));
    const Encoded inPc = Utf8ToWindows1250(character);
    // Where the PC's code page has the character, the device's own
    // conversion must give exactly it; elsewhere it gives a look-alike.
    if (inPc.ok() && swapped.find(byte) == std::string::npos)
      EXPECT_EQ(DeviceToPc(std::string(1, byte)), inPc.bytes) << character;
  }
  for (const char byte : all) {
    const std::string character = Windows1250ToUtf8(std::string(1, byte));
    EXPECT_EQ(Utf8ToWindows1250(character).bytes, std::string(1, byte)) << character;
  }
}

TEST(UnicodeCodePages, ACharacterTheCodePageLacksIsNamedAndNothingIsGiven) {
  const struct {
    const char* utf8;
    const char* bytes852;
    const char* missing;
  } cases[] = {
      {"\xC4\x8F" "akujeme", "\xD4" "akujeme", ""},  // ďakujeme
      {"ASCII ;=%", "ASCII ;=%", ""},
      {"cena 5 \xE2\x82\xAC", "", "\xE2\x82\xAC"},  // the euro sign
      {"\xF0\x9F\x98\x80", "", "\xF0\x9F\x98\x80"},  // an emoji
      {"broken \xC3", "", "\xC3"},
      {"overlong \xC0\xAF", "", "\xC0"},
  };
  for (const auto& c : cases) {
    const Encoded encoded = Utf8ToCodePage852(c.utf8);
    EXPECT_EQ(encoded.bytes, c.bytes852) << c.utf8;
    EXPECT_EQ(encoded.missing, c.missing) << c.utf8;
  }
}

}  // namespace
}  // namespace korvena::encodings
