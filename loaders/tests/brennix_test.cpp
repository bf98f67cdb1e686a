// Brennix run in-process against the emulated device: restart, waking the
// boot loader of either processor, and every way the run can end.
#include "korvena/loaders/brennix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "korvena/emulator/emulated_port.h"
#include "korvena/loaders/firmware_fixture.h"
#include "expected_console.h"
#include "loader_test_support.h"

namespace korvena::loaders {
namespace {

using testing::kAnsweredAtOnce;
using testing::kBrennixClosing;
using testing::kUploadOfImage1;
using testing::kUploadOfImage2;
using testing::SampleImage;
using testing::UnansweredWake;

const std::string kImage1 = SampleImage(150, 11);
const std::string kImage2 = SampleImage(250, 12);

struct Rig {
  explicit Rig(emu::DeviceSettings settings = {}) : device(settings) {
    firmware = dir.Write("korvena.fw", testing::MakeFirmwareFile(kImage1, kImage2));
  }
  std::string Run(const std::vector<std::string>& arguments, Port* through = nullptr) {
    RunBrennix(dir.path() + "/KvorWxx.ini", arguments, firmware, through ? *through : writes, clock, console);
    return console.str();
  }

  emu::Device device;
  VirtualClock clock{0xFFFF0000u};
  emu::EmulatedPort port{device, clock};
  testing::RecordingPort writes{port};
  std::ostringstream console;
  ScratchFolder dir;
  std::string firmware;
};

struct UpdateCase {
  const char* name;
  emu::DeviceSettings settings;
  std::vector<std::string> arguments;
  std::string console;
  std::string image;  // what the device must hold afterwards
  friend std::ostream& operator<<(std::ostream& os, const UpdateCase& c) { return os << c.name; }
};

class BrennixUpdateTest : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(BrennixUpdateTest, LoadsTheImageOfTheProcessorThatAnswers) {
  const UpdateCase& c = GetParam();
  Rig rig(c.settings);
  EXPECT_EQ(rig.Run(c.arguments), c.console);
  EXPECT_EQ(rig.device.state().loader.firmware.substr(0, c.image.size()), c.image);
  EXPECT_EQ(rig.device.state().loader.firmwareTransfers, 1u);
  EXPECT_EQ(rig.writes.writes.back(), (std::pair<int32_t, std::string>{144, "\x04"}));
  EXPECT_FALSE(rig.port.open());
}

INSTANTIATE_TEST_SUITE_P(
    Processors, BrennixUpdateTest,
    ::testing::Values(
        UpdateCase{"mega1281_after_restart", {}, {"-c1", "-r"},
                   "Testujem COM1\n" + kAnsweredAtOnce + "V Connect success found Mega1281\n" + kUploadOfImage2 +
                       kBrennixClosing,
                   kImage2},
        UpdateCase{"mega128_after_restart_at_another_speed",
                   {.baud = 57600, .loader = {.processor = emu::Processor::kMega128}}, {"-r", "/C1"},
                   "Testujem COM1\n" + UnansweredWake() + kAnsweredAtOnce + "V Connect success found Mega128\n" +
                       kUploadOfImage1 + kBrennixClosing,
                   kImage1},
        UpdateCase{"already_in_the_boot_loader", {.loader = {.startInBootLoader = true}}, {"-c1"},
                   "Testujem COM1\n" + kAnsweredAtOnce + "V Connect success found Mega1281\n" + kUploadOfImage2 +
                       kBrennixClosing,
                   kImage2}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Brennix, RestartsThroughTheBaudSearchThenTalksTheBootLoadersSpeed) {
  Rig rig(emu::DeviceSettings{.baud = 38400});
  rig.Run({"/c3", "-r"});
  EXPECT_EQ(rig.port.openedPort(), 3);
  EXPECT_EQ(rig.device.received().back(), "\x1b;RESET");
  EXPECT_EQ(rig.device.state().baud, 38400u) << "the new firmware talks at the device's own speed";
  EXPECT_EQ(rig.writes.writes[0].second, "\x1b") << "the identification comes first";
  EXPECT_EQ(rig.port.baud(), 115200);
}

TEST(Brennix, ASilentBootLoaderIsReportedAfterFortyPassesForEachProcessor) {
  Rig rig(emu::DeviceSettings{.loader = {.silentBootLoader = true}});
  const uint32_t start = rig.clock.Ticks();
  EXPECT_EQ(rig.Run({"-c1", "-r"}), "Testujem COM1\n" + UnansweredWake() + UnansweredWake() + "X Connect Fail !\n" + kBrennixClosing);
  EXPECT_GE(rig.clock.Ticks() - start, 80u * Brennix::kWakePauseMs + Brennix::kPauseBeforeCloseMs);
  EXPECT_FALSE(rig.port.open());
}

TEST(Brennix, ADeviceNotInItsBootLoaderNeverAnswersTheConnectBytes) {
  Rig rig;
  EXPECT_EQ(rig.Run({"-c1"}), "Testujem COM1\n" + UnansweredWake() + UnansweredWake() + "X Connect Fail !\n" + kBrennixClosing);
}

struct BadFileCase {
  const char* name;
  std::string bytes;  // "" for no file
  std::string message;
  friend std::ostream& operator<<(std::ostream& os, const BadFileCase& c) { return os << c.name; }
};

class BrennixBadFileTest : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(BrennixBadFileTest, EndsWithAMessageBeforeAnythingReachesTheDevice) {
  Rig rig;
  std::filesystem::remove(rig.firmware);
  if (!GetParam().bytes.empty()) rig.dir.Write("korvena.fw", GetParam().bytes);
  EXPECT_EQ(rig.Run({"-c1", "-r"}), GetParam().message + "\n" + kBrennixClosing);
  EXPECT_TRUE(rig.writes.writes.empty());
  EXPECT_TRUE(rig.device.received().empty());
  EXPECT_FALSE(rig.port.open());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrennixBadFileTest,
    ::testing::Values(
        BadFileCase{"missing", "", "Subor korvena.fw nebol najdeny !"},
        BadFileCase{"shorter_than_a_size_field", "\x10\x00", "Subor korvena.fw je prilis kratky !"},
        BadFileCase{"image_two_cut_short",
                    testing::SizeField(1) + "a" + testing::SizeField(500) + std::string(10, 'b'),
                    "Subor korvena.fw je prilis kratky !"},
        // An empty image would be "loaded" as blocks of zeros.
        BadFileCase{"both_images_empty", std::string(8, '\0'),
                    "Subor korvena.fw: obraz (1) je prilis maly (0 bajtov, najmenej 140) !"},
        BadFileCase{"image_one_below_its_vector_table", testing::MakeFirmwareFile(std::string(139, 'a'), kImage2),
                    "Subor korvena.fw: obraz (1) je prilis maly (139 bajtov, najmenej 140) !"},
        BadFileCase{"image_two_empty", testing::MakeFirmwareFile(kImage1, ""),
                    "Subor korvena.fw: obraz (2) je prilis maly (0 bajtov, najmenej 228) !"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Brennix, AnOpenThatFailsWithAnExceptionIsReportedOnlyWithMessagesOn) {
  for (const bool restart : {false, true}) {
    for (const bool hidden : {false, true}) {
      Rig rig;
      testing::ThrowingPort port;
      std::vector<std::string> arguments = {"-c1", hidden ? "-v0" : "-v1"};
      if (restart) arguments.push_back("-r");
      EXPECT_EQ(rig.Run(arguments, &port), hidden ? "" : "Nie je mozne otvorit COM port !!!\n");
    }
  }
}

TEST(Brennix, ShowsItsUsageWithoutTouchingThePort) {
  Rig rig;
  EXPECT_EQ(rig.Run({"-r"}),
            "\nSYNTAX: BRENNIX -cx [-vz] [-r]\n"
            "   x: cislo COM portu, na ktorom je KORVENA.2010\n"
            "   z: 1/0 zobrazovat vystup\n"
            "   r: restart Korvena 2010\n");
  EXPECT_TRUE(rig.writes.writes.empty());
}

}  // namespace
}  // namespace korvena::loaders
