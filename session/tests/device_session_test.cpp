// The session against a scripted peer and the emulated device: the frames on
// the wire, the time limits, and what a failure says.
#include "korvena/session/device_session.h"

#include <gtest/gtest.h>

#include <thread>

#include "korvena/emulator/emulated_port.h"
#include "korvena/link/scripted_port.h"
#include "korvena/link/virtual_clock.h"

namespace korvena::session {
namespace {

struct ScriptedSession {
  VirtualClock clock{0xFFFFFF00u};  // deadlines across the counter's wrap
  ScriptedPort port{clock};
  DeviceSession session{port, clock};
  std::map<std::string, std::string> replies;  // frame -> what the peer sends
  ScriptedSession() {
    port.onFrame = [this](const std::string& frame) {
      if (const auto reply = replies.find(frame); reply != replies.end()) port.Send(reply->second);
    };
  }
};

// A refused command is followed by the status query the device expects,
// and the failure tells the refusal's status.
TEST(DeviceSession, CommandsKeepTheirTimeLimitAndTheStatusQueryAfterARefusal) {
  const struct {
    const char* name;
    std::string reply;
    bool done;
    std::string wire;  // everything written
    SessionFailure::Kind failure;
    int status;
    uint32_t elapsed;  // virtual ms from the command to the end
  } cases[] = {
      {"done", "0\r", true, "\x1b;STP;1;T0;1\r", SessionFailure::kNone, 0, 0},
      {"wrong_password", "512\r", false, "\x1b;STP;1;T0;1\r\x1b;IV;0\r", SessionFailure::kRefused, 512, 1001},
      {"not_a_number", "OK\r", false, "\x1b;STP;1;T0;1\r\x1b;IV;0\r", SessionFailure::kRefused, -1, 1001},
      {"silent", "", false, "\x1b;STP;1;T0;1\r\x1b;IV;0\r", SessionFailure::kNoAnswer, 0, 5001 + 1001},
  };
  for (const auto& c : cases) {
    ScriptedSession s;
    s.replies["\x1b;STP;1;T0;1\r"] = c.reply;
    const uint32_t start = s.clock.Ticks();
    EXPECT_EQ(s.session.SendCommand("\x1b;STP;1;T0;1\r"), c.done) << c.name;
    EXPECT_EQ(s.port.written, c.wire) << c.name;
    EXPECT_EQ(s.session.lastFailure().kind, c.failure) << c.name;
    EXPECT_EQ(s.session.lastFailure().status, c.status) << c.name;
    if (c.elapsed >= 1000) {
      // The status query got no answer either: its full 10 units pass.
      EXPECT_EQ(s.clock.Ticks() - start, c.elapsed) << c.name;
    }
  }
}

TEST(DeviceSession, LoginTellsARefusedPasswordFromASilentDevice) {
  const struct {
    const char* status;  // the answer to info 0 after TESTPASSWORD
    bool accepted;
    SessionFailure::Kind failure;
  } cases[] = {{"0\r", true, SessionFailure::kNone},
               {"512\r", false, SessionFailure::kWrongPassword},
               {"", false, SessionFailure::kNoAnswer}};
  for (const auto& c : cases) {
    ScriptedSession s;
    s.replies["\x1b;TESTPASSWORD;846\r"] = "1\r";
    s.replies["\x1b;IV;0\r"] = c.status;
    EXPECT_EQ(s.session.Login("846"), c.accepted) << c.status;
    EXPECT_EQ(s.port.written, "\x1b;TESTPASSWORD;846\r\x1b;IV;0\r") << c.status;
    EXPECT_EQ(s.session.lastFailure().kind, c.failure) << c.status;
    EXPECT_EQ(s.session.state().LoginPassword, c.accepted ? "846" : "") << c.status;
  }
}

TEST(DeviceSession, AFailedOpenCarriesThePortsReason) {
  ScriptedSession s;
  s.port.openResult = 0;
  s.port.openProblem = "permission denied";
  EXPECT_FALSE(s.session.Connect());
  EXPECT_EQ(s.session.lastFailure().kind, SessionFailure::kCannotOpen);
  EXPECT_EQ(s.session.lastFailure().Message(), "the port cannot be opened: permission denied");
}

TEST(DeviceSession, ConnectAndFindDeviceAdoptTheRateTheDeviceAnswersAt) {
  emu::Device device(emu::DeviceSettings{.baud = 38400});
  VirtualClock clock;
  emu::EmulatedPort port(device, clock);
  DeviceSession session(port, clock);
  ASSERT_TRUE(session.Connect());
  EXPECT_EQ(session.state().PortBaud, 38400);
  device.state().baud = 19200;  // as after STBRATE
  EXPECT_EQ(session.FindDevice(), 19200);
  EXPECT_EQ(session.state().PortBaud, 19200);
  EXPECT_EQ(session.QueryInfo(1000), "13022");
}

TEST(DeviceSession, ABulkReadComesAtTheBulkRateAndStopsWhenAsked) {
  for (const bool stop : {false, true}) {
    emu::Device device;
    VirtualClock clock;
    emu::EmulatedPort port(device, clock);
    DeviceSession session(port, clock);
    ASSERT_TRUE(session.Connect());
    device.state().sales.sdDays["7"] = std::string(3000, 'd');
    ASSERT_TRUE(session.Send("\x1b;READSD;7\r"));
    EXPECT_EQ(session.ReadLine(500), "3000");
    std::atomic<bool> stopRequested{false};
    std::size_t heard = 0;
    const ByteStream stream = session.ReadBulk(3000, 500, &stopRequested, [&](std::size_t count) {
      heard = count;
      if (stop && count == 100) stopRequested = true;
    });
    EXPECT_EQ(stream.bytes.size(), stop ? 100u : 3000u);
    EXPECT_EQ(heard, stream.bytes.size());
    EXPECT_EQ(port.baud(), 9600) << "back at the line's own rate";
    EXPECT_EQ(session.lastFailure().kind, stop ? SessionFailure::kStopped : SessionFailure::kNone);
  }
}

// Two threads on one session: each exchange stays whole on the line, so
// every answer is the one its query asked for.
TEST(DeviceSession, ThreadsSharingASessionNeverInterleaveTheirExchanges) {
  emu::Device device;
  VirtualClock clock;
  emu::EmulatedPort port(device, clock);
  DeviceSession session(port, clock);
  ASSERT_TRUE(session.Connect());
  std::atomic<int> wrong{0};
  const auto ask = [&](int n, const std::string& expected) {
    for (int i = 0; i < 200; ++i)
      if (session.QueryInfo(n) != expected) ++wrong;
  };
  std::thread first(ask, 1000, "13022");
  std::thread second(ask, 9, "31234567");
  first.join();
  second.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace korvena::session
