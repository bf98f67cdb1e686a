// Frames and their fields, as the device numbers them.
#include <gtest/gtest.h>

#include "korvena/protocol/device_status.h"
#include "korvena/protocol/frame.h"

namespace korvena::protocol {
namespace {

TEST(Frame, BuildsEscNameArgumentsCrWithBytesUnchanged) {
  EXPECT_EQ(CommandFrame("GETLDX"), "\x1b;GETLDX\r");
  EXPECT_EQ(CommandFrame("STP", {"846", "T0", "1"}), "\x1b;STP;846;T0;1\r");
  EXPECT_EQ(CommandFrame("TESTPASSWORD", {""}), "\x1b;TESTPASSWORD;\r") << "an empty password is an empty field";
  EXPECT_EQ(CommandFrame("HL", {"1", "\x8F\xA0"}), "\x1b;HL;1;\x8F\xA0\r");
  EXPECT_EQ(InfoQueryFrame(1000), "\x1b;IV;1000\r");
  EXPECT_EQ(InfoFrame("7"), "\x1b;INFO;7\r");
  EXPECT_EQ(InfoQueryFrame(0), kIdentifyCommand);
  EXPECT_EQ(AnnouncementFrame("CRC", {"189"}), std::string("\x1b;CRC;189\0", 10));
}

TEST(Frame, FieldsAreNumberedFromTheEscape) {
  const struct {
    const char* text;
    std::size_t n;
    const char* field;
  } cases[] = {
      {"\x1b;READSD;5;C:\\sd.bin", 0, "\x1b"}, {"\x1b;READSD;5;C:\\sd.bin", 1, "READSD"},
      {"\x1b;READSD;5;C:\\sd.bin", 2, "5"},    {"\x1b;READSD;5;C:\\sd.bin", 3, "C:\\sd.bin"},
      {"\x1b;READSD;5;C:\\sd.bin", 4, ""},     {"\x1b;K;;;3", 3, ""},
      {"\x1b;K;;;3", 4, "3"},                  {"\x1b;", 1, ""},
      {"", 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommandField(c.text, c.n), c.field) << c.text << " " << c.n;
    const auto fields = CommandFields(c.text);
    EXPECT_EQ(c.n < fields.size() ? fields[c.n] : "", c.field) << "both readings agree: " << c.text << " " << c.n;
  }
}

TEST(DeviceStatus, AnAnswerIsAStatusOnlyWhenItIsAPlainNumberOfSixteenBits) {
  const struct {
    const char* line;
    std::optional<int> status;
  } cases[] = {{"0", 0}, {"512", 512}, {"65535", 65535}, {"65536", std::nullopt}, {"", std::nullopt},
               {" 1", std::nullopt}, {"-1", std::nullopt}, {"1x", std::nullopt}, {"000001", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(StatusOfAnswer(c.line), c.status) << c.line;
  EXPECT_EQ(StatusMeaning(status::kWrongPassword), "wrong service password");
  EXPECT_EQ(StatusMeaning(7), "unknown status");
}

}  // namespace
}  // namespace korvena::protocol
