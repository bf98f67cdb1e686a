#include <gtest/gtest.h>

#include "kalibro_rig.h"

namespace korvena::kalibro {
namespace {

TEST(StartUp, Smoke) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("0");
  rig.Start();
  EXPECT_TRUE(rig.ui.problems.empty());
  EXPECT_EQ(rig.ValueLabelCount(), 58);
}

}  // namespace
}  // namespace korvena::kalibro
