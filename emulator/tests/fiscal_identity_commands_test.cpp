// The device's answers to the tax identity, VAT, register and commissioning
// commands, and the values its info query reports afterwards.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "korvena/emulator/device.h"
#include "korvena/platform/local_date.h"

namespace korvena::emu {
namespace {

std::string Ask(Device& device, const std::string& command) {
  device.Receive("\x1b;" + command + "\r", device.state().baud);
  std::string answer;
  while (device.HasOutput()) answer += device.TakeOutput().bytes;
  return answer;
}

std::string Today() {
  const LocalDate date = CurrentLocalDate();
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.day, date.month, date.year);
  return text;
}

TEST(FiscalIdentityCommands, AnswerAndKeepWhatTheyTake) {
  // The fresh device's register is 4145 (T0, TIME, HV, DPH); its DIČ 2021234567.
  const std::string today = Today();
  const struct {
    const char* registerBefore;  // info 1 before the command; nullptr: as made
    std::string command;
    const char* answer;
    std::vector<std::pair<int, std::string>> info;  // info values afterwards
  } cases[] = {
      {nullptr, "STDIC;4711;1234567890123456", "0", {{3, "1234567890123456"}}},
      {nullptr, "STDIC;4711;12345678901234567", "1", {{3, "2021234567"}}},
      {nullptr, "STDIC;0;99", "512", {{3, "2021234567"}}},
      {nullptr, "STDIC;4711", "1", {{3, "2021234567"}}},
      {nullptr, "STDKP;4711;12345678901234567", "0", {{2, "12345678901234567"}}},
      {nullptr, "STDKP;4711;123456789012345678", "1", {{2, "21234567890123456"}}},
      {nullptr, "STICDPH;4711;SK\x9c\xe7-12345678", "0", {{4, "SK\x9c\xe7-12345678"}}},  // 852 bytes as sent
      {nullptr, "STICO;4711;12345678901234567", "1", {{9, "31234567"}}},
      {nullptr, "STICO;4711;", "0", {{9, ""}}},
      {nullptr, "STKDPH;4711;0;10000;02000;550", "0", {{10, "0"}, {11, "10000"}, {12, "2000"}, {13, "550"}}},
      {nullptr, "STKDPH;4711;0;10001;0;0", "1", {{10, "2000"}, {11, "1000"}}},
      {nullptr, "STKDPH;4711;2000;1000;0", "1", {{12, "0"}}},
      {nullptr, "STKDPH;4711;-1;0;0;0", "1", {{10, "2000"}}},
      {nullptr, "STKDPH;1;0;0;0;0", "512", {{10, "2000"}}},
      {nullptr, "STP;4711;DL;1", "0", {{1, "4273"}}},
      {nullptr, "STP;4711;T0;0", "0", {{1, "4144"}}},
      {nullptr, "STP;4711;NODISP;1", "0", {{1, "266289"}}},
      {"528433", "STP;4711;AVV;0", "0", {{1, "4145"}}},
      {nullptr, "STP;4711;DL;2", "1", {{1, "4145"}}},
      {nullptr, "STP;4711;UDP;1", "1", {{1, "4145"}}},  // the device's own flag
      {nullptr, "STP;4711;dl;1", "1", {{1, "4145"}}},
      {nullptr, "STP;;DL;1", "512", {{1, "4145"}}},
      {nullptr, "STTEST;1", "0", {{1, "69681"}}},
      {"69681", "STTEST;0", "0", {{1, "4145"}}},
      {nullptr, "STTEST;4711;1", "1", {{1, "4145"}}},  // it carries no password
      {nullptr, "STAUVKLAD;4711;150.50", "0", {{1, "528433"}, {66, "150.50"}}},
      {nullptr, "STAUVKLAD;4711;", "0", {{1, "528433"}, {66, ""}}},
      {nullptr, "STAUVKLAD;4711;15,50", "1", {{1, "4145"}}},
      {nullptr, "STAUVKLAD;4711;1.505", "1", {{1, "4145"}}},
      {nullptr, "STUP;4711", "0", {{1, "135217"}, {16, today}, {17, "02.12.2026"}, {61, today}, {62, today}}},
      {"135217", "STUP;4711", "2", {{16, "15.03.2024"}, {62, "07.12.2026"}}},  // commissioned already
      {nullptr, "STUP;0", "512", {{1, "4145"}, {16, "15.03.2024"}}},
  };
  for (const auto& c : cases) {
    Device device(DeviceSettings{.servicePassword = "4711"});
    if (c.registerBefore) device.state().info[1] = c.registerBefore;
    EXPECT_EQ(Ask(device, c.command), std::string(c.answer) + "\r") << c.command;
    for (const auto& [number, value] : c.info)
      EXPECT_EQ(Ask(device, "IV;" + std::to_string(number)), value + "\r") << c.command << " info " << number;
  }
}

}  // namespace
}  // namespace korvena::emu
