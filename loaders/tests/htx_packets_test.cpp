#include "korvena/link/htx_packets.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvena::loaders {
namespace {

std::string Framed(const std::string& text) { return "\x1b" + text + "\r"; }

struct PacketCase {
  const char* name;
  std::string file;
  std::vector<std::string> packets;  // between ESC and CR
  std::string length;
  friend std::ostream& operator<<(std::ostream& os, const PacketCase& c) { return os << c.name; }
};

std::string Counting(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i));
  return bytes;
}

class HtxCommandsTest : public ::testing::TestWithParam<PacketCase> {};

TEST_P(HtxCommandsTest, CutTheFileIntoPacketsAndAnnounceItsLength) {
  const PacketCase& c = GetParam();
  std::vector<std::string> packets;
  for (uint32_t k = 0; k <= HtxLastPacketNumber(c.file.size()); ++k)
    packets.push_back(HtxPacketCommand(kSendrixPassword, k, HtxPacketAt(c.file, k)));
  std::vector<std::string> expected;
  for (const std::string& packet : c.packets) expected.push_back(Framed(packet));
  EXPECT_EQ(packets, expected);
  EXPECT_EQ(HtxLengthCommand(kSendrixPassword, static_cast<uint32_t>(c.file.size()), HtxFileSum(c.file)),
            Framed(c.length));
}

INSTANTIATE_TEST_SUITE_P(
    Files, HtxCommandsTest,
    ::testing::Values(
        PacketCase{"seven_bytes", "\xFF\xF8\x02\x41\x42\xF7\xFF",
                   {";STHTX;846;0;FFF8024142F7FF00;114"}, ";STHTXLEN;846;7;1138"},
        PacketCase{"empty_file_is_one_packet_of_padding", "", {";STHTX;846;0;0000000000000000;0"},
                   ";STHTXLEN;846;0;0"},
        PacketCase{"sixteen_bytes_end_in_a_padding_packet", Counting(16),
                   {";STHTX;846;0;0001020304050607;28", ";STHTX;846;1;08090A0B0C0D0E0F;92",
                    ";STHTX;846;2;0000000000000000;0"},
                   ";STHTXLEN;846;16;120"},
        PacketCase{"seventeen_bytes", Counting(17),
                   {";STHTX;846;0;0001020304050607;28", ";STHTX;846;1;08090A0B0C0D0E0F;92",
                    ";STHTX;846;2;1000000000000000;16"},
                   ";STHTXLEN;846;17;136"},
        PacketCase{"packet_sum_wraps_at_256", std::string(8, '\xFF'),
                   {";STHTX;846;0;FFFFFFFFFFFFFFFF;248", ";STHTX;846;1;0000000000000000;0"},
                   ";STHTXLEN;846;8;2040"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(HtxFileSum, WrapsAt65536AndCountsOnlyTheFile) {
  EXPECT_EQ(HtxFileSum(std::string(300, '\xFF')), 76500 % 65536);
  EXPECT_EQ(HtxFileSum(std::string(5120, '\xFF')), 5120 * 255 % 65536);
  EXPECT_EQ(HtxFileSum(std::string("\x01\x00\x02", 3)), 3);
}

TEST(HtxPacketCommand, CarriesTheGivenPasswordAndNumber) {
  EXPECT_EQ(HtxPacketCommand("", 640, HtxPacketAt("\x0A\xBC", 0)), Framed(";STHTX;;640;0ABC000000000000;198"));
}

}  // namespace
}  // namespace korvena::loaders
