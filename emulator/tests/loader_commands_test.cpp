// The device's side of both loaders: template packets and their checks,
// RESET, and the boot loader with its fault switches.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "emu_options.h"
#include "korvena/emulator/emulated_port.h"
#include "korvena/link/command_link.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::emu {
namespace {

struct Exchange {
  std::string command;  // between ESC and CR
  std::string reply;
};

struct HtxCase {
  const char* name;
  std::vector<Exchange> exchanges;
  std::string stored;
  uint32_t resends = 0;  // the device's htxResends switch
  friend std::ostream& operator<<(std::ostream& os, const HtxCase& c) { return os << c.name; }
};

class HtxUploadTest : public ::testing::TestWithParam<HtxCase> {};

TEST_P(HtxUploadTest, ChecksEachPacketAndTheWholeBeforeKeepingTheTemplate) {
  Device device(DeviceSettings{.loader = {.htxResends = GetParam().resends}});
  VirtualClock clock;
  EmulatedPort port(device, clock);
  CommandLink link(port, clock);
  port.Open(1, 9600);
  for (const Exchange& exchange : GetParam().exchanges) {
    link.SendText("\x1b" + exchange.command + "\r");
    EXPECT_EQ(link.ReadResponse(100), exchange.reply) << exchange.command;
  }
  EXPECT_EQ(device.state().loader.htx, GetParam().stored);
}

const Exchange kPacket0{";STHTX;846;0;FFF8024142F7FF00;114", "0"};
const std::string kSevenBytes = "\xFF\xF8\x02\x41\x42\xF7\xFF";

INSTANTIATE_TEST_SUITE_P(
    Uploads, HtxUploadTest,
    ::testing::Values(
        HtxCase{"sixteen_bit_sum", {kPacket0, {";STHTXLEN;846;7;1138", "0"}}, kSevenBytes},
        HtxCase{"eight_bit_sum_and_service_password_of_the_service_program",
                {{";STHTX;0;0;FFF8024142F7FF00;114", "0"}, {";STHTXLEN;0;7;114", "0"}}, kSevenBytes},
        HtxCase{"other_passwords_refused",
                {{";STHTX;1234;0;FFF8024142F7FF00;114", "512"}, kPacket0, {";STHTXLEN;;7;1138", "512"}}, ""},
        HtxCase{"switch_asks_for_the_first_packets_again",
                {{kPacket0.command, "1024"}, {kPacket0.command, "1024"}, kPacket0, {";STHTXLEN;846;7;1138", "0"}},
                kSevenBytes, 2},
        HtxCase{"bad_packet_sum_asks_again",
                {{";STHTX;846;0;FFF8024142F7FF00;115", "1024"}, kPacket0, {";STHTXLEN;846;7;1138", "0"}}, kSevenBytes},
        HtxCase{"bad_hex_asks_again", {{";STHTX;846;0;FFF8024142F7FF0;114", "1024"},
                                       {";STHTX;846;0;GFF8024142F7FF00;114", "1024"}},
                ""},
        HtxCase{"packets_out_of_order", {{";STHTX;846;1;0000000000000000;0", "1"}}, ""},
        HtxCase{"wrong_file_sum", {kPacket0, {";STHTXLEN;846;7;1137", "1"}}, ""},
        HtxCase{"size_beyond_the_packets", {kPacket0, {";STHTXLEN;846;9;1138", "1"}}, ""},
        HtxCase{"packet_zero_starts_again",
                {{";STHTX;846;0;0101010101010101;8", "0"}, {";STHTX;846;1;0202020202020202;16", "0"}, kPacket0,
                 {";STHTX;846;1;0000000000000000;0", "0"}, {";STHTXLEN;846;8;1138", "0"}},
                kSevenBytes + std::string(1, '\0')}),
    [](const auto& p) { return std::string(p.param.name); });

// A block of 128 equal bytes; their CRCs are known values.
std::string Block(uint8_t number, char fill, bool goodCrc = true) {
  std::string block = {'\x01', static_cast<char>(number), static_cast<char>(number ^ 0xFF)};
  block += std::string(128, fill);
  const uint16_t crc = fill == '\xFF' ? 0xEDA9 : 0x0000;
  block.push_back(static_cast<char>(crc >> 8));
  block.push_back(static_cast<char>((crc & 0xFF) ^ (goodCrc ? 0 : 1)));
  return block;
}

std::string Sent(Device& device) {
  std::string bytes;
  while (device.HasOutput()) bytes += device.TakeOutput().bytes;
  return bytes;
}

constexpr uint32_t kBoot = 115200;

TEST(BootLoader, ResetAnswersAtTheOldSpeedThenListensAt115200) {
  Device device;
  device.Receive("\x1b;RESET\r", 9600);
  ASSERT_TRUE(device.HasOutput());
  EXPECT_EQ(device.PeekOutput().baud, 9600u);
  EXPECT_EQ(Sent(device), "0\r");
  device.Receive("\x1b;IV;0\r", 9600);
  EXPECT_EQ(Sent(device), "") << "9600 is line noise to the boot loader";
  device.Receive("\x64", kBoot);
  EXPECT_EQ(Sent(device), "") << "the other processor's connect byte";
  device.Receive("\x66", kBoot);
  EXPECT_EQ(Sent(device), "C");
}

TEST(BootLoader, AcknowledgesGoodBlocksRefusesBadOnesAndKeepsTheImageAtTheEnd) {
  Device device(DeviceSettings{.baud = 19200, .loader = {.processor = Processor::kMega128, .startInBootLoader = true}});
  device.Receive(Block(1, '\xFF'), kBoot);
  EXPECT_EQ(Sent(device), "") << "nothing is taken before the connect byte";
  device.Receive("\x64", kBoot);
  EXPECT_EQ(Sent(device), "C");
  const struct {
    std::string block;
    const char* reply;
  } steps[] = {
      {Block(1, '\xFF', false), "\x15"},                   // bad CRC
      {Block(2, '\xFF'), "\x15"},                          // not the expected number
      {Block(1, '\xFF').replace(2, 1, "\xFF"), "\x15"},    // complement does not match
      {Block(1, '\xFF'), "\x06"},
      {Block(1, '\xFF'), "\x06"},                          // again: its ACK was lost; not stored twice
      {Block(2, '\0'), "\x06"},
  };
  for (const auto& step : steps) {
    device.Receive(step.block, kBoot);
    EXPECT_EQ(Sent(device), step.reply);
  }
  EXPECT_EQ(device.state().loader.blocksRefused, 3u);
  EXPECT_TRUE(device.state().loader.firmware.empty()) << "kept only when the transfer ends";
  device.Receive("\x04", kBoot);
  EXPECT_EQ(Sent(device), "\x06");
  EXPECT_EQ(device.state().loader.firmware, std::string(128, '\xFF') + std::string(128, '\0'));
  EXPECT_EQ(device.state().baud, 19200u);
  device.Receive("\x1b;IV;0\r", 19200);
  EXPECT_EQ(Sent(device), "0\r") << "the new firmware takes commands again";
}

TEST(BootLoader, NakStormRefusesTheChosenBlockTheGivenNumberOfTimes) {
  Device device(DeviceSettings{.loader = {.startInBootLoader = true, .nakStorm = 2, .nakBlock = 2}});
  device.Receive("\x66", kBoot);
  Sent(device);
  std::string replies;
  for (const std::string& block : {Block(1, '\0'), Block(2, '\0'), Block(2, '\0'), Block(2, '\0'), Block(3, '\0')}) {
    device.Receive(block, kBoot);
    replies += Sent(device);
  }
  EXPECT_EQ(replies, "\x06\x15\x15\x06\x06");
}

TEST(BootLoader, ASilentBootLoaderAnswersNothing) {
  Device device(DeviceSettings{.loader = {.startInBootLoader = true, .silentBootLoader = true}});
  device.Receive("\x66\x64", kBoot);
  device.Receive(Block(1, '\0') + "\x04", kBoot);
  EXPECT_FALSE(device.HasOutput());
}

TEST(LoadDump, WritesTheTemplateAndTheFirmwareWholeIntoTheDumpFolder) {
  const ScratchFolder scratch;
  const std::string folder = scratch.path();
  Device device(DeviceSettings{.loader = {.dumpDir = folder}});
  device.Receive("\x1b;STHTX;846;0;FFF8024142F7FF00;114\r\x1b;STHTXLEN;846;7;1138\r\x1b;RESET\r", 9600);
  device.Receive("\x66" + Block(1, '\xFF') + "\x04", kBoot);
  const auto read = [&](const char* name) {
    std::stringstream text;
    text << std::ifstream(folder + "/" + name, std::ios::binary).rdbuf();
    return text.str();
  };
  EXPECT_EQ(read("htx.bin"), kSevenBytes);
  EXPECT_EQ(read("firmware.bin"), std::string(128, '\xFF'));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2) << "no temporary file is left";
}

TEST(EmuOptions, LoaderSwitches) {
  EmuOptions options;
  std::string error;
  ASSERT_TRUE(ParseEmuOptions({"--processor", "mega128", "--boot-loader", "--silent-boot-loader", "--nak-storm", "3",
                               "--nak-block=2", "--dump-dir", "/tmp/x", "--htx-resends", "4"},
                              options, error))
      << error;
  const LoaderSettings& loader = options.device.loader;
  EXPECT_EQ(loader.processor, Processor::kMega128);
  EXPECT_TRUE(loader.startInBootLoader);
  EXPECT_TRUE(loader.silentBootLoader);
  EXPECT_EQ(loader.nakStorm, 3u);
  EXPECT_EQ(loader.nakBlock, 2u);
  EXPECT_EQ(loader.dumpDir, "/tmp/x");
  EXPECT_EQ(loader.htxResends, 4u);
  EXPECT_FALSE(ParseEmuOptions({"--processor", "z80"}, options, error));
}

}  // namespace
}  // namespace korvena::emu
