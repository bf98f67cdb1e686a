#include <gtest/gtest.h>

#include "korvena/emulator/emulated_port.h"
#include "korvena/link/command_link.h"

namespace korvena::emu {
namespace {

struct Rig {
  explicit Rig(DeviceSettings settings = {}) : device(settings) {}
  Device device;
  VirtualClock clock{0xFFFFFF00u};
  EmulatedPort port{device, clock};
  CommandLink link{port, clock};

  std::string Ask(const std::string& command) {
    link.SendText(command);
    return link.ReadResponse(100);
  }
};

TEST(Device, IdentifiesItselfAtItsOwnSpeedOnly) {
  Rig rig(DeviceSettings{.baud = 38400});
  ASSERT_EQ(rig.port.Open(1, 9600), 1);
  EXPECT_FALSE(rig.link.IdentifyDevice(100));
  EXPECT_EQ(rig.link.FindBaudRate(100), 38400);
  EXPECT_TRUE(rig.link.IdentifyDevice(100));
}

TEST(Device, OpenAndIdentifyFindsADeviceAtAnotherSpeed) {
  Rig rig(DeviceSettings{.baud = 57600});
  const OpenOutcome outcome = rig.link.OpenAndIdentify(4, 9600, 100);
  EXPECT_EQ(outcome.kind, OpenOutcome::kIdentifiedBySearch);
  EXPECT_EQ(outcome.baud, 57600);
}

TEST(Device, AnswersInfoQueriesFromItsState) {
  Rig rig;
  rig.device.state().info[5] = "KORVENA 2010 v1.31";
  rig.port.Open(1, 9600);
  const struct {
    std::string command;
    std::string answer;
  } cases[] = {
      {"\x1b;IV;0\r", "0"},
      {"\x1b;IV;5\r", "KORVENA 2010 v1.31"},
      {"\x1b;IV;999\r", ""},  // an unknown number answers an empty line
      {"\x1b;IV;x\r", ""},
      {"\x1b;NOSUCH;1\r", "1"},            // an unknown command is refused
      {"garbage\x1b;IV;0\r", "0"},         // bytes outside a frame are ignored
      {"\x1b;IV;5\x1b;IV;0\r", "0"},       // ESC starts a new frame
  };
  for (const auto& c : cases) EXPECT_EQ(rig.Ask(c.command), c.answer) << c.command;
  EXPECT_EQ(rig.device.received().back(), "\x1b;IV;0");
}

TEST(Device, NoiseAtAnotherSpeedSpoilsAFrameInProgress) {
  Device device;
  device.Receive("\x1b;IV;", 9600);
  device.Receive("x", 19200);
  device.Receive("0\r", 9600);
  EXPECT_FALSE(device.HasOutput());
  EXPECT_TRUE(device.received().empty());
}

TEST(Device, FaultSwitchesSilenceAndDropBytes) {
  Rig silent(DeviceSettings{.silent = true});
  silent.port.Open(1, 9600);
  EXPECT_EQ(silent.Ask("\x1b;IV;0\r"), "");

  Rig lossy(DeviceSettings{.dropSentEvery = 2});
  lossy.device.state().info[7] = "123456";
  lossy.port.Open(1, 9600);
  // Bytes 2, 4 and 6 of "123456" are lost; the CR (7th) arrives.
  EXPECT_EQ(lossy.Ask("\x1b;IV;7\r"), "135");

  Rig deaf(DeviceSettings{.dropReceivedEvery = 3});
  deaf.port.Open(1, 9600);
  EXPECT_EQ(deaf.Ask("\x1b;IV;0\r"), "1") << "it heard \"ESC;V;\" and refuses that unknown command";
}

TEST(Device, AMuteOrDeafSpellStartsAtItsFrameAndLiftsInTime) {
  // The fault counts S, L and K frames only; the queries between pass.
  for (const LineFault::Kind kind : {LineFault::kMute, LineFault::kDeaf}) {
    uint64_t now = 0;
    DeviceSettings settings;
    settings.fault = {kind, 2, 500, {"S", "L", "K"}};
    settings.monotonicMs = [&now] { return now; };
    Rig rig(settings);
    rig.port.Open(1, 9600);
    EXPECT_EQ(rig.Ask("\x1b;IV;0\r"), "0");
    EXPECT_EQ(rig.Ask("\x1b;S;0\r"), "0");
    EXPECT_EQ(rig.Ask("\x1b;L;1;2.00;A;Chlieb\r"), "") << "the 2nd counted frame: no answer";
    now = 499;
    EXPECT_EQ(rig.Ask("\x1b;IV;0\r"), "") << "still under the spell";
    now = 500;
    // Lifted: a mute device took the line (a card 1.00 is short of 2.00),
    // a deaf one never saw it (1.00 is more than the total 0.00).
    EXPECT_EQ(rig.Ask("\x1b;K;;1.00\r"), kind == LineFault::kMute ? "3" : "1");
  }
}

TEST(Device, APausedTransmissionWaitsForThePcToSwitchSpeed) {
  Device device;
  device.Register("FAST", [](Device& d, const Command&) {
    d.Reply("3");
    d.Send("abc", 115200, 10);
  });
  VirtualClock clock;
  EmulatedPort port(device, clock);
  CommandLink link(port, clock);
  port.Open(1, 9600);
  link.SendText("\x1b;FAST\r");
  EXPECT_EQ(link.ReadResponse(100), "3");
  port.SetPort(115200);
  const uint32_t before = clock.Ticks();
  EXPECT_EQ(link.ReadResponse(50), "abc");
  EXPECT_GE(clock.Ticks() - before, 10u) << "nothing arrives during the pause";
}

// An input mode that answers each byte with its successor until 'q'.
class EchoNextMode : public InputMode {
 public:
  void Receive(Device& device, uint8_t byte) override {
    if (byte == 'q') {
      device.SetInputMode(nullptr);  // replaces itself while running
      return;
    }
    device.Send(std::string(1, static_cast<char>(byte + 1)));
  }
};

TEST(Device, AnInputModeTakesTheBytesUntilItHandsBack) {
  Device device;
  device.SetInputMode(std::make_unique<EchoNextMode>());
  device.Receive("ab\x1b;IV;0\rq", 9600);
  std::string sent;
  while (device.HasOutput()) sent += device.TakeOutput().bytes;
  EXPECT_EQ(sent, "bc\x1c<JW<1\x0e");
  device.Receive("\x1b;IV;0\r", 9600);
  EXPECT_EQ(device.TakeOutput().bytes, "0\r");
}

TEST(Device, ACommandNameBelongsToOneFamily) {
  Device device;
  EXPECT_THROW(device.Register("IV", [](Device&, const Command&) {}), std::logic_error);
  device.Override("IV", [](Device& d, const Command&) { d.Reply("overridden"); });
  device.Receive("\x1b;IV;0\r", 9600);
  EXPECT_EQ(device.TakeOutput().bytes, "overridden\r");
}

TEST(Device, KeepsHistoryOnlyWhenAskedButAlwaysReportsPrintedLines) {
  for (const bool keep : {true, false}) {
    Device device(DeviceSettings{.keepHistory = keep});
    std::vector<std::string> seen;
    device.onJournal = [&](const std::string& line) { seen.push_back(line); };
    device.Receive("\x1b;V;1\r", 9600);
    device.Print("SPOLU 1.00");
    EXPECT_EQ(seen.size(), 5u) << keep;  // four lines of the cash receipt, one printed directly
    EXPECT_EQ(device.journal(), keep ? seen : std::vector<std::string>{}) << keep;
    EXPECT_EQ(device.received(), keep ? std::vector<std::string>{"\x1b;V;1"} : std::vector<std::string>{}) << keep;
  }
}

}  // namespace
}  // namespace korvena::emu
