#include "driver_rig.h"

#include <gtest/gtest.h>

namespace korvena::driver::testing {

uint16_t Type(Driver& driver, std::string_view text) {
  uint16_t result = 0;
  for (const char c : text) result = driver.Write(static_cast<uint8_t>(c));
  return result;
}

std::vector<int> ReadAll(Driver& driver) {
  std::vector<int> read;
  for (int i = 0; i < 100; ++i) {
    read.push_back(driver.Read());
    if (read.back() == 13 || read.back() == 255) break;
  }
  return read;
}

void ScriptedRig::Start(const std::string& settings) {
  Ini(settings);
  ASSERT_EQ(driver.StartLibProc(), kStarted);
  port.written.clear();
  port.calls.clear();
}

void EmulatedRig::Start(const std::string& settings) {
  Ini(settings);
  ASSERT_EQ(driver.StartLibProc(), kStarted);
}

}  // namespace korvena::driver::testing
