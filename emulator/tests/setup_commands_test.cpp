#include <gtest/gtest.h>

#include "emu_options.h"
#include "korvena/emulator/emulated_port.h"
#include "korvena/link/command_link.h"

namespace korvena::emu {
namespace {

struct SetupRig {
  explicit SetupRig(DeviceSettings settings = {}) : device(std::move(settings)) { port.Open(1, 9600); }
  Device device;
  VirtualClock clock;
  EmulatedPort port{device, clock};
  CommandLink link{port, clock};

  std::string Ask(const std::string& command) {
    link.SendText(command);
    return link.ReadResponse(100);
  }
};

// The status is reported once: a device that kept answering "512" to info 0
// could no longer be identified by any program.
TEST(SetupCommands, PasswordTestLeavesItsStatusInInfoZeroOnce) {
  const struct {
    std::string devicePassword;
    std::string typed;
    std::string status;
  } cases[] = {
      {"0", "0", "0"},
      {"0", "1", "512"},
      {"4711", "4711", "0"},
      {"4711", "04711", "512"},  // the device compares texts, not numbers
      {"4711", "", "512"},
  };
  for (const auto& c : cases) {
    SetupRig rig(DeviceSettings{.servicePassword = c.devicePassword});
    EXPECT_EQ(rig.Ask("\x1b;TESTPASSWORD;" + c.typed + "\r"), c.status) << c.typed;
    EXPECT_EQ(rig.Ask("\x1b;IV;0\r"), c.status) << c.typed;
    EXPECT_EQ(rig.Ask("\x1b;IV;0\r"), "0") << c.typed;
    EXPECT_EQ(rig.Ask("\x1b;TESTPASSWORD;" + c.typed + "\r"), c.status) << c.typed;
    EXPECT_TRUE(rig.link.IdentifyDevice(100)) << c.typed;
  }
}

TEST(SetupCommands, AnswersEveryValueOfTheStatusDisplay) {
  SetupRig rig;
  const int numbers[] = {1,  2,  3,  4,  5,  7,  8,  9,  10, 11, 12, 13, 16, 17, 20, 21, 22, 23,  24,  25,
                         26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43,  44,  45,
                         46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 61, 62, 63, 64, 65, 116, 117};
  for (const int n : numbers) EXPECT_FALSE(rig.Ask("\x1b;IV;" + std::to_string(n) + "\r").empty()) << n;
  EXPECT_EQ(rig.Ask("\x1b;IV;10\r"), "2000");
  EXPECT_EQ(rig.Ask("\x1b;IV;1000\r"), "13022");
}

TEST(SetupCommands, ValuesSetBeforehandStay) {
  SetupRig rig;
  rig.device.state().info[5] = "test";
  EXPECT_EQ(rig.Ask("\x1b;IV;5\r"), "test");
}

TEST(SetupCommands, PasswordOptionSetsTheDevicesPassword) {
  EmuOptions options;
  std::string error;
  ASSERT_TRUE(ParseEmuOptions({"--password", "4711"}, options, error)) << error;
  EXPECT_EQ(options.device.servicePassword, "4711");
  SetupRig rig(options.device);
  EmuOptions empty;
  EXPECT_FALSE(ParseEmuOptions({"--password="}, empty, error));
  EXPECT_EQ(rig.Ask("\x1b;TESTPASSWORD;4711\r"), "0");
}

}  // namespace
}  // namespace korvena::emu
