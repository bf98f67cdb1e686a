// Sendrix run in-process against the emulated device, with exact console
// text and exact commands on the line.
#include "korvena/loaders/sendrix.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "korvena/emulator/emulated_port.h"
#include "korvena/loaders/command_line.h"
#include "expected_console.h"
#include "loader_test_support.h"

namespace korvena::loaders {
namespace {

using testing::kSendrixClosing;
const std::string kSeventeenBytes("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10", 17);

struct Rig {
  explicit Rig(emu::DeviceSettings settings = {}) : device(settings) {}
  emu::Device device;
  VirtualClock clock{0xFFFFF000u};  // the run crosses the wrap of the tick counter
  emu::EmulatedPort port{device, clock};
  std::ostringstream console;
  ScratchFolder dir;

  // A file in the scratch folder, named on the command line as a user would.
  std::string File(const std::string& bytes) {
    dir.Write("moje.htx", bytes);
    return "-h" + dir.path() + "/moje.htx";
  }
  std::string Run(const std::vector<std::string>& arguments, Port* through = nullptr) {
    RunSendrix(arguments, through ? *through : port, clock, console);
    return console.str();
  }
  // The commands after the identification, without their ESC.
  std::vector<std::string> LoadCommands() const {
    std::vector<std::string> commands;
    for (const std::string& frame : device.received())
      if (frame.rfind("\x1b;IV;", 0) != 0) commands.push_back(frame.substr(1));
    return commands;
  }
};

TEST(Sendrix, LoadsTheFileAndRedrawsOneProgressLine) {
  Rig rig;
  const std::string file = kSeventeenBytes;
  EXPECT_EQ(rig.Run({"-c1", rig.File(file)}),
            "Packet [0/2]   -\rPacket [1/2]   \\\rPacket [2/2]   |\r\nHTX bol nahrany do FT.\n" + kSendrixClosing);
  EXPECT_EQ(rig.LoadCommands(),
            (std::vector<std::string>{";STHTX;846;0;0001020304050607;28", ";STHTX;846;1;08090A0B0C0D0E0F;92",
                                      ";STHTX;846;2;1000000000000000;16", ";STHTXLEN;846;17;136"}));
  EXPECT_EQ(rig.device.state().loader.htx, file);
  EXPECT_EQ(rig.device.received().front(), "\x1b;IV;0") << "the device is identified first";
  EXPECT_EQ(rig.clock.slept(), Sendrix::kPauseBeforeLengthMs);
  EXPECT_FALSE(rig.port.open());
}

TEST(Sendrix, FindsADeviceAtAnotherSpeedAndFillsTheWholeBuffer) {
  Rig rig(emu::DeviceSettings{.baud = 38400});
  const std::string file(5120, '\xA5');
  const std::string console = rig.Run({"-c1", rig.File(file)});
  EXPECT_NE(console.find("Packet [639/640]   /\rPacket [640/640]   -\r\nHTX bol nahrany do FT.\n"), std::string::npos);
  EXPECT_EQ(rig.LoadCommands().size(), 642u);
  EXPECT_EQ(rig.LoadCommands().back(), ";STHTXLEN;846;5120;" + std::to_string(5120 * 0xA5 % 65536));
  EXPECT_EQ(rig.device.state().loader.htx, file);
}

TEST(Sendrix, HiddenOutputStillShowsTheEmptyLineAndTheClosingLines) {
  Rig rig;
  EXPECT_EQ(rig.Run({"-v0", rig.File("abc"), "-c1"}), "\n" + kSendrixClosing);
  EXPECT_EQ(rig.device.state().loader.htx, "abc");
}

using DeviceChange = std::function<void(emu::Device&)>;

void NoAnswerAfterPacketZero(emu::Device& device) {
  device.Override("STHTX", [](emu::Device& d, const emu::Command& c) {
    if (c.Arg(1) == "0") d.Reply("0");
  });
}
void NoAnswerToTheLength(emu::Device& device) {
  device.Override("STHTXLEN", [](emu::Device&, const emu::Command&) {});
}

struct FailureCase {
  const char* name;
  emu::DeviceSettings settings;
  DeviceChange change;
  std::string file;  // "" for none
  bool hidden;
  std::string console;  // "<FILE>" stands for the upper-cased file name
  std::vector<std::string> commands;
  friend std::ostream& operator<<(std::ostream& os, const FailureCase& c) { return os << c.name; }
};

class SendrixFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SendrixFailureTest, EndsWithItsMessageAndClosesThePort) {
  const FailureCase& c = GetParam();
  Rig rig(c.settings);
  if (c.change) c.change(rig.device);
  const std::string fileArgument = c.file.empty() ? "-h" + rig.dir.path() + "/moje.htx" : rig.File(c.file);
  std::string expected = c.console;
  if (const auto at = expected.find("<FILE>"); at != std::string::npos)
    expected.replace(at, 6, UpperCaseAscii(fileArgument.substr(2)));
  EXPECT_EQ(rig.Run({"-c1", fileArgument, c.hidden ? "-v0" : "-v1"}), expected);
  EXPECT_EQ(rig.LoadCommands(), c.commands);
  EXPECT_FALSE(rig.port.open());
}

const std::string kNotLoaded = "HTX sa nepodarilo sa nahrat do FT\n";

INSTANTIATE_TEST_SUITE_P(
    Failures, SendrixFailureTest,
    ::testing::Values(
        FailureCase{"no_device", {.silent = true}, {}, "abc", false, "Korvena-2010 nebol najdeny na COM porte !!!\n", {}},
        FailureCase{"no_device_hidden", {.silent = true}, {}, "abc", true, "", {}},
        FailureCase{"packet_unanswered", {}, NoAnswerAfterPacketZero, kSeventeenBytes, false,
                    "Packet [0/2]   -\rHTX error\n" + kNotLoaded + kSendrixClosing,
                    {";STHTX;846;0;0001020304050607;28", ";STHTX;846;1;08090A0B0C0D0E0F;92"}},
        FailureCase{"packet_unanswered_hidden", {}, NoAnswerAfterPacketZero, kSeventeenBytes,
                    true, kSendrixClosing,
                    {";STHTX;846;0;0001020304050607;28", ";STHTX;846;1;08090A0B0C0D0E0F;92"}},
        FailureCase{"length_unanswered", {}, NoAnswerToTheLength, "\x01", false,
                    "Packet [0/0]   -\r\nHTX error 2\n" + kNotLoaded + kSendrixClosing,
                    {";STHTX;846;0;0100000000000000;1", ";STHTXLEN;846;1;1"}},
        FailureCase{"missing_file", {}, {}, "", false, "Subor <FILE> nebol najdeny !\n" + kNotLoaded + kSendrixClosing, {}},
        FailureCase{"file_too_large", {}, {}, std::string(5121, 'x'), false,
                    "Subor <FILE> je vacsi ako 5120 bajtov !\n" + kNotLoaded + kSendrixClosing, {}},
        FailureCase{"file_too_large_hidden", {}, {}, std::string(5121, 'x'), true, kSendrixClosing, {}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Sendrix, AnOpenThatFailsWithAnExceptionEndsTheRunWithoutClosingLines) {
  for (const bool hidden : {false, true}) {
    Rig rig;
    testing::ThrowingPort port;
    EXPECT_EQ(rig.Run({"-c1", hidden ? "-v0" : "-v1"}, &port), hidden ? "" : "Nie je mozne otvorit COM port !!!\n");
  }
}

TEST(Sendrix, ShowsItsUsageWithoutTouchingThePort) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{{}, {"-c"}, {"-c1", "-h"}, {"-v0", "-cx"}}) {
    Rig rig;
    EXPECT_EQ(rig.Run(arguments),
              "\nSYNTAX: SENDRIX -cx -hy [-vz]\n"
              "   x: cislo COM portu, na ktorom je KORVENA.2010\n"
              "   y: nazov htx suboru\n"
              "   z: 1/0 zobrazovat vystup\n");
    EXPECT_TRUE(rig.device.received().empty());
  }
}

}  // namespace
}  // namespace korvena::loaders
