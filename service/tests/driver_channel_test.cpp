// The device channel across restarts of the service: the line speed found
// once is where the next start begins, instead of a fresh search.
#include <gtest/gtest.h>

#include "service_test_rig.h"

namespace korvena::service {
namespace {

TEST(DriverChannel, ARestartBeginsAtTheSpeedFoundBefore) {
  ServiceRig rig;
  // A technician set the device to another speed: the next connection searches once.
  rig.device.state().baud = 19200;
  rig.channel->Close();
  ASSERT_TRUE(rig.channel->Connect());
  EXPECT_EQ(rig.channel->baud(), 19200);

  const std::size_t speedsTried = rig.port.speedsSet().size();
  rig.Restart();
  EXPECT_EQ(rig.channel->baud(), 19200);
  EXPECT_EQ(rig.port.speedsSet().size(), speedsTried) << "no search after the restart";
}

}  // namespace
}  // namespace korvena::service
