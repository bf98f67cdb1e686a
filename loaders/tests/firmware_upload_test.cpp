// The block loop against the emulated boot loader: block counts, numbers,
// padding, refusals and the time a silent boot loader costs.
#include "korvena/loaders/firmware_upload.h"

#include <gtest/gtest.h>

#include <sstream>

#include "korvena/emulator/emulated_port.h"
#include "korvena/loaders/firmware_fixture.h"
#include "expected_console.h"
#include "loader_test_support.h"

namespace korvena::loaders {
namespace {

using testing::MakeFirmwareFile;
using testing::SampleImage;

struct Rig {
  explicit Rig(emu::LoaderSettings loader = {}) : device(Settings(loader)) {
    port.Open(1, 115200);
    const uint8_t connect = 102;
    port.Write(&connect, 0, 1);
    uint8_t answer = 0;
    port.Read(answer);
    writes.writes.clear();
  }
  static emu::DeviceSettings Settings(emu::LoaderSettings loader) {
    loader.startInBootLoader = true;
    return {.loader = loader};
  }
  bool Upload(const FirmwareImage& image) { return FirmwareUpload(writes, clock, console).Run(image); }
  const std::string& received() { return device.state().loader.firmware; }
  std::size_t BlocksWritten() const {
    std::size_t blocks = 0;
    for (const auto& [option, bytes] : writes.writes) blocks += option == 144 && bytes.size() == 133;
    return blocks;
  }

  emu::Device device;
  VirtualClock clock{0xFFFFFF00u};
  emu::EmulatedPort port{device, clock};
  testing::RecordingPort writes{port};
  std::ostringstream console;
  FirmwareFile file;
};

struct CountCase {
  uint32_t size;
  uint32_t shown;  // N on the progress line
  friend std::ostream& operator<<(std::ostream& os, const CountCase& c) { return os << "size " << c.size; }
};

class BlockCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(BlockCountTest, SendsOneBlockMoreThanItShowsThenTheEndMark) {
  Rig rig;
  const std::string image = SampleImage(GetParam().size, 3);
  rig.file.bytes = MakeFirmwareFile("", image);
  EXPECT_EQ(DisplayedBlockCount(GetParam().size), GetParam().shown);
  ASSERT_TRUE(rig.Upload(rig.file.Image(2)));
  EXPECT_EQ(rig.BlocksWritten(), GetParam().shown + 1);
  EXPECT_EQ(rig.writes.writes.back(), (std::pair<int32_t, std::string>{144, "\x04"}));
  // The file ends with image 2: what follows the image is zero padding.
  std::string expected = image;
  expected.resize((GetParam().shown + 1) * 128, '\0');
  EXPECT_EQ(rig.received(), expected);
  const std::string last = "Packet [" + std::to_string(GetParam().shown) + "/" + std::to_string(GetParam().shown) + "]";
  EXPECT_NE(rig.console.str().find(last), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BlockCountTest,
                         ::testing::Values(CountCase{1000, 8}, CountCase{1024, 9}, CountCase{0, 1}, CountCase{128, 2},
                                           CountCase{127, 1}));

TEST(FirmwareUpload, BlockNumbersWrapAfter255) {
  Rig rig;
  rig.file.bytes = MakeFirmwareFile("", SampleImage(300 * 128, 4));
  ASSERT_TRUE(rig.Upload(rig.file.Image(2)));
  ASSERT_EQ(rig.BlocksWritten(), 302u);
  const auto header = [&](std::size_t block) { return rig.writes.writes[block].second.substr(0, 3); };
  EXPECT_EQ(header(0), "\x01\x01\xFE");
  EXPECT_EQ(header(254), std::string("\x01\xFF\x00", 3));
  EXPECT_EQ(header(255), std::string("\x01\x00\xFF", 3));
  EXPECT_EQ(header(256), "\x01\x01\xFE");
  EXPECT_EQ(rig.received().substr(0, 300 * 128), SampleImage(300 * 128, 4));
}

TEST(FirmwareUpload, ImageOneRunsOnIntoTheBytesThatFollowIt) {
  Rig rig;
  const std::string one = SampleImage(100, 5);
  const std::string two = SampleImage(300, 6);
  rig.file.bytes = MakeFirmwareFile(one, two);
  ASSERT_TRUE(rig.Upload(rig.file.Image(1)));
  // Two blocks: image 1, then its chain carried on through the size field of
  // image 2 and image 2's stored bytes, which the chain turns back to plain.
  const std::string stored1 = testing::ChainImage(one);
  const std::string field2 = testing::SizeField(300);
  const std::string stored2 = testing::ChainImage(two);
  std::string expected = one;
  expected.push_back(static_cast<char>(field2[0] ^ stored1.back()));
  for (int i = 1; i < 4; ++i) expected.push_back(static_cast<char>(field2[i] ^ field2[i - 1]));
  expected.push_back(static_cast<char>(stored2[0] ^ field2[3]));
  expected += two.substr(1, 256 - expected.size());
  EXPECT_EQ(rig.received(), expected);
}

TEST(FirmwareUpload, ABlockRefusedThreeTimesShowsItsRetriesAndTheCountStartsAgain) {
  Rig rig({.nakStorm = 3, .nakBlock = 1});
  rig.file.bytes = MakeFirmwareFile("", SampleImage(250, 8));
  ASSERT_TRUE(rig.Upload(rig.file.Image(2)));
  EXPECT_EQ(rig.console.str(), testing::kUploadOfImage2FirstBlockRefusedThrice);
  EXPECT_EQ(rig.BlocksWritten(), 6u);
  EXPECT_EQ(rig.received().substr(0, 250), SampleImage(250, 8));
}

TEST(FirmwareUpload, TenRefusalsInARowEndTheUploadWithoutTheEndMark) {
  Rig rig({.nakStorm = 10});
  rig.file.bytes = MakeFirmwareFile("", SampleImage(1024, 9));
  EXPECT_FALSE(rig.Upload(rig.file.Image(2)));
  std::string expected = "size (2)= 1024\n";
  for (int i = 0; i < 10; ++i)
    expected += " > Packet [0/9], data [0.1k/1.0k] retry [" + std::to_string(i) + "/" + std::to_string(i) + "]\r";
  EXPECT_EQ(rig.console.str(), expected + "\nV Update Failed\n");
  EXPECT_EQ(rig.BlocksWritten(), 10u);
  EXPECT_EQ(rig.writes.writes.size(), 10u) << "no end mark";
  EXPECT_EQ(rig.device.state().loader.firmwareTransfers, 0u);
}

TEST(FirmwareUpload, ASilentBootLoaderCostsOneSecondPerTry) {
  Rig rig({.silentBootLoader = true});
  rig.file.bytes = MakeFirmwareFile("", SampleImage(10, 1));
  const uint32_t start = rig.clock.Ticks();
  EXPECT_FALSE(rig.Upload(rig.file.Image(2)));
  // 200 polls 5 ms apart, the last empty poll costing the test port 1 ms.
  EXPECT_EQ(rig.clock.Ticks() - start, 10u * 1001u);
  EXPECT_NE(rig.console.str().find("retry [9/9]\r\nV Update Failed\n"), std::string::npos);
}

}  // namespace
}  // namespace korvena::loaders
