// The state file that keeps a configured device configured across restarts.
#include <gtest/gtest.h>

#include "korvena/emulator/state_file.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::emu {
namespace {

TEST(StateFile, EveryByteOfEveryValueSurvivesTheRoundTrip) {
  DeviceState state;
  std::string allBytes;
  for (int byte = 0; byte < 256; ++byte) allBytes.push_back(static_cast<char>(byte));
  state.info[120] = allBytes;
  state.info[3] = "a=b%c";
  state.servicePassword = "4711";
  state.sales.closingNumber = 42;
  state.sales.closings = {{3, "06.12.2026", 12, {{40, -1250}, {37, 2}}}, {4, "07.12.2026", 0, {}}};

  DeviceState restored;
  restored.info[999] = "kept: the file does not know it";
  ASSERT_TRUE(ApplySerializedState(SerializeState(state), restored));
  EXPECT_EQ(restored.info[120], allBytes);
  EXPECT_EQ(restored.info[3], "a=b%c");
  EXPECT_EQ(restored.info[999], "kept: the file does not know it");
  EXPECT_EQ(restored.servicePassword, "4711");
  EXPECT_EQ(restored.sales.closingNumber, 42);
  EXPECT_EQ(restored.sales.closings, state.sales.closings) << "interval reports still find them";
  EXPECT_EQ(SerializeState(state).find('\r'), std::string::npos) << "one value, one line";
}

TEST(StateFile, ADamagedFileChangesNothing) {
  for (const char* damaged : {"info.3=ok\nno equals sign\n", "info.3=%4\n", "info.x=1\n", "info.3=%GG\n",
                              "sales.closingNumber=12a\n", "sales.closing=1;32.01.2024;0;\n",
                              "sales.closing=1;01.01.2024;0;40\n", "sales.closing=1;01.01.2024;0\n"}) {
    DeviceState state;
    state.info[3] = "before";
    EXPECT_FALSE(ApplySerializedState(damaged, state)) << damaged;
    EXPECT_EQ(state.info[3], "before") << damaged;
  }
}

TEST(StateFile, LoadsWhatWasSavedAndWritesOnlyAChange) {
  ScratchFolder dir;
  DeviceState state;
  state.info[3] = "2021234567";
  std::string error;
  StateFile first(dir / "device.state");
  ASSERT_TRUE(first.Load(state, error)) << "no file yet is a fresh device";
  ASSERT_TRUE(first.SaveIfChanged(state));
  const std::string saved = dir.Read("device.state");
  EXPECT_NE(saved.find("info.3=2021234567\n"), std::string::npos);

  dir.Write("device.state", saved + "info.4=SK1\n");  // changed behind its back
  ASSERT_TRUE(first.SaveIfChanged(state));
  EXPECT_EQ(dir.Read("device.state"), saved + "info.4=SK1\n") << "nothing changed since the last write";

  DeviceState restarted;
  StateFile second(dir / "device.state");
  ASSERT_TRUE(second.Load(restarted, error));
  EXPECT_EQ(restarted.info[4], "SK1");
  dir.Write("device.state", "garbage");
  EXPECT_FALSE(StateFile(dir / "device.state").Load(restarted, error));
  EXPECT_NE(error.find("damaged"), std::string::npos);
}

}  // namespace
}  // namespace korvena::emu
