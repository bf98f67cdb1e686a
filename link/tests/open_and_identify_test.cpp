#include <gtest/gtest.h>

#include "korvena/link/command_link.h"
#include "korvena/link/scripted_port.h"

namespace korvena {
namespace {

constexpr uint32_t kNearWrap = 0xFFFFFF00u;

// Records the progress events as the driver's log would show them.
class RecordingObserver : public OpenObserver {
 public:
  std::vector<std::string> events;
  void SleptAfterFailedOpen(int attempt) override { events.push_back("sleeping = " + std::to_string(attempt)); }
  void IdentifyAttempted(int attempt) override { events.push_back("open ok test"); }
  void FinalOpen(bool opened, int32_t baud) override {
    events.push_back(opened ? "open ok ->" + std::to_string(baud) : "open err");
  }
};

struct Rig {
  VirtualClock clock{kNearWrap};
  ScriptedPort port{clock};
  CommandLink link{port, clock};
  RecordingObserver observer;

  void DeviceAnswersAt(int32_t deviceBaud) {
    port.onFrame = [this, deviceBaud](const std::string& frame) {
      if (frame == kIdentifyCommand && port.baud == deviceBaud) port.Send("0\r");
    };
  }
};

TEST(OpenAndIdentify, ADeviceAtTheGivenRateIsFoundInTheFirstAttempt) {
  Rig rig;
  rig.DeviceAnswersAt(9600);
  const OpenOutcome outcome = rig.link.OpenAndIdentify(3, 9600, 100, &rig.observer);
  EXPECT_EQ(outcome.kind, OpenOutcome::kIdentified);
  EXPECT_EQ(outcome.baud, 9600);
  EXPECT_EQ(rig.port.calls, (std::vector<std::string>{"Close", "Open 3 9600"}));
  EXPECT_EQ(rig.observer.events, (std::vector<std::string>{"open ok test"}));
}

TEST(OpenAndIdentify, APortThatNeverOpensCostsFifteenWaitsOf200Ms) {
  Rig rig;
  rig.port.openResult = 0;
  const OpenOutcome outcome = rig.link.OpenAndIdentify(2, 9600, 100, &rig.observer);
  EXPECT_EQ(outcome.kind, OpenOutcome::kCannotOpen);
  EXPECT_EQ(rig.clock.slept(), 15u * 200u);
  ASSERT_EQ(rig.observer.events.size(), 16u);
  EXPECT_EQ(rig.observer.events.front(), "sleeping = 0");
  EXPECT_EQ(rig.observer.events[14], "sleeping = 14");
  EXPECT_EQ(rig.observer.events.back(), "open err");
  EXPECT_EQ(rig.port.written, "") << "nothing is sent to a port that is not open";
}

TEST(OpenAndIdentify, OnlyAnExactOneCountsForTheLastOpen) {
  Rig rig;
  rig.port.openResult = 2;  // non-zero but not 1: the attempts try, the last open fails
  EXPECT_EQ(rig.link.OpenAndIdentify(1, 9600, 100).kind, OpenOutcome::kCannotOpen);
  EXPECT_EQ(rig.port.calls.back(), "Close") << "a port the library may hold open is let go";
}

TEST(OpenAndIdentify, EachAttemptWaits20MsLongerForEveryAnswer) {
  Rig rig;  // silent device at every rate
  const uint32_t start = rig.clock.Ticks();
  const OpenOutcome outcome = rig.link.OpenAndIdentify(1, 9600, 100, &rig.observer);
  EXPECT_EQ(outcome.kind, OpenOutcome::kNotFound);
  // Attempt k waits (100 + 20k) + 1 ms for its first answer; then one more
  // identification and seven search rates wait 500 + 1 ms each.
  uint32_t expected = 0;
  for (uint32_t k = 0; k < 15; ++k) expected += 100 + 20 * k + 1;
  expected += 8 * (500 + 1);
  EXPECT_EQ(rig.clock.Ticks() - start, expected);
  EXPECT_EQ(rig.port.calls.back(), "Close") << "the port is closed when no device answered";
  EXPECT_EQ(rig.observer.events.back(), "open ok ->9600");
}

TEST(OpenAndIdentify, ADeviceAtAnotherRateIsFoundByTheSearch) {
  Rig rig;
  rig.DeviceAnswersAt(38400);
  const OpenOutcome outcome = rig.link.OpenAndIdentify(1, 9600, 100, &rig.observer);
  EXPECT_EQ(outcome.kind, OpenOutcome::kIdentifiedBySearch);
  EXPECT_EQ(outcome.baud, 38400);
  EXPECT_EQ(rig.port.baud, 38400) << "the port stays at the rate found";
  // 15 close/open pairs, one more, then the search up to 38400.
  const std::vector<std::string>& calls = rig.port.calls;
  ASSERT_EQ(calls.size(), 32u + 5u);
  EXPECT_EQ(calls[30], "Close");
  EXPECT_EQ(calls[31], "Open 1 9600");
  EXPECT_EQ(calls.back(), "SetPort 38400");
}

TEST(OpenAndIdentify, ADeviceThatWakesUpLateIsFoundByTheLongerIdentification) {
  Rig rig;
  int identifications = 0;
  // Silent through all 15 short attempts (one command each), then ready.
  rig.port.onFrame = [&](const std::string& frame) {
    if (frame == kIdentifyCommand && ++identifications > 15) rig.port.Send("0\r");
  };
  const OpenOutcome outcome = rig.link.OpenAndIdentify(1, 19200, 100);
  EXPECT_EQ(outcome.kind, OpenOutcome::kIdentified);
  EXPECT_EQ(outcome.baud, 19200);
}

}  // namespace
}  // namespace korvena
