// The command link through the real port library to the real emulator.
#include <gtest/gtest.h>

#include "korvena/emulator/emu_process.h"
#include "korvena/link/command_link.h"
#include "korvena/link/korvport_port.h"

namespace korvena {
namespace {

TEST(LinkOverPty, OpenAndIdentifyAt9600FindsADeviceAt38400) {
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--baud", "38400"}, 2));
  KorvportPort port;
  SystemClock clock;
  CommandLink link(port, clock);
  // A short base limit keeps the fifteen failing attempts quick; the search
  // at five times it still leaves a loaded machine time to answer.
  const OpenOutcome outcome = link.OpenAndIdentify(2, 9600, 40);
  EXPECT_EQ(outcome.kind, OpenOutcome::kIdentifiedBySearch);
  EXPECT_EQ(outcome.baud, 38400);
  ASSERT_TRUE(link.SendText("\x1b;IV;0\r"));
  EXPECT_EQ(link.ReadResponse(1000), "0");
  port.Close();
}

TEST(LinkOverPty, ASilentDeviceIsNotFound) {
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--silent"}, 3));
  KorvportPort port;
  SystemClock clock;
  CommandLink link(port, clock);
  ASSERT_EQ(port.Open(3, 9600), 1);
  EXPECT_FALSE(link.IdentifyDevice(20));
  port.Close();
}

TEST(LinkOverPty, APacedDeviceAnswersAfterTheBytesHadTimeToTravel) {
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--pace", "--baud", "9600"}, 4));
  KorvportPort port;
  SystemClock clock;
  CommandLink link(port, clock);
  ASSERT_EQ(port.Open(4, 9600), 1);
  EXPECT_TRUE(link.IdentifyDevice(500));
  port.Close();
}

}  // namespace
}  // namespace korvena
