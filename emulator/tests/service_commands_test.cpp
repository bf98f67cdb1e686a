// The device's answers to the service commands, the speed it answers at,
// and the values its info query reports afterwards.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "korvena/emulator/device.h"

namespace korvena::emu {
namespace {

// The PC's clock in these tests: 7 December 2026, 10:00:00.
const LocalDateTime kPcTime{{2026, 12, 7}, 10, 0, 0};

struct Answer {
  std::string text;
  uint32_t baud = 0;  // of the last byte
};

Answer Ask(Device& device, const std::string& command) {
  device.Receive("\x1b;" + command + "\r", device.state().baud);
  Answer answer;
  while (device.HasOutput()) {
    const Transmission sent = device.TakeOutput();
    answer.text += sent.bytes;
    answer.baud = sent.baud;
  }
  return answer;
}

TEST(ServiceCommands, AnswerAndKeepWhatTheyTake) {
  // As made: the device answers at 9600; its totals are the emulated shop's.
  const struct {
    std::string command;
    const char* answer;
    std::vector<std::pair<int, std::string>> info;  // info values afterwards
    uint32_t baudAfter = 9600;
    bool receiptOpen = false;
    const char* registerBefore = nullptr;
  } cases[] = {
      {"STDATETIME;4711;9;7;0;5;3;2024", "0", {{19, "05.03.2024 09:07:00"}}},
      {"STDATETIME;4711;23;59;59;29;2;2024", "0", {{19, "29.02.2024 23:59:59"}}},
      {"STDATETIME;4711;9;7;0;29;2;2023", "1", {{19, "07.12.2026 10:00:00"}}},  // no such day
      {"STDATETIME;4711;24;0;0;5;3;2024", "1", {{19, "07.12.2026 10:00:00"}}},
      {"STDATETIME;4711;9;7;0;5;3;1995", "1", {{19, "07.12.2026 10:00:00"}}},
      {"STDATETIME;4711;9;x;0;5;3;2024", "1", {{19, "07.12.2026 10:00:00"}}},
      {"STDATETIME;4711;9;7;0;5;3", "1", {{19, "07.12.2026 10:00:00"}}},
      {"STDATETIME;0;9;7;0;5;3;2024", "512", {{19, "07.12.2026 10:00:00"}}},
      {"STDDATE;4711;23;59;30;31;12;2024", "0", {{62, "31.12.2024 23:59:30"}, {19, "07.12.2026 10:00:00"}}},
      {"STDDATE;4711;23;60;30;31;12;2024", "1", {{62, "07.12.2026"}}},
      {"STDDATE;4711;23;59;30;31;13;2024", "1", {{62, "07.12.2026"}}},
      {"STBRATE;4711;3;4", "0", {{170, "52"}}, 28800},
      {"STBRATE;4711;6;6", "0", {{170, "102"}}, 115200},
      {"STBRATE;4711;7;0", "1", {{170, "0"}}},
      {"STBRATE;4711;0;7", "1", {{170, "0"}}},
      {"STBRATE;4711;2", "1", {{170, "0"}}},
      {"STBRATE;1;2;2", "512", {{170, "0"}}},
      {"LOADMF;4711;6", "0", {{172, "6"}}},
      {"LOADMF;4711;2", "1", {{172, ""}}},
      {"LOADMF;4711;1;1", "1", {{172, ""}}},
      {"LOADMF;0;1", "512", {{172, ""}}},
      {"STNGT;4711",
       "0",
       {{20, "0.00"}, {21, "0.00"}, {22, "0.00"}, {23, "0"}, {30, "0.00"}, {31, "0"}, {36, "0.00"}, {37, "0"},
        {41, "0.00"}, {49, "0.00"}, {50, "0"}, {51, "0"}, {57, "0.00"}, {116, "0.00"}, {117, "0"},
        {61, "06.12.2026"}, {63, "1862"}, {64, "A3F1"}}},
      {"STNGT;4711", "2", {{20, "14884.55"}, {117, "6"}}, 9600, true},  // a receipt is open
      {"STNGT;4711;1", "1", {{20, "14884.55"}}},
      {"STNGT;0", "512", {{20, "14884.55"}}},
      {"STPAIRFP;4711", "0", {{173, "1"}}},
      {"STPAIRFP;0", "512", {{173, ""}}},
      {"STP;4711;UDP;0", "0", {{1, "4145"}}, 9600, false, "135217"},
      {"STP;4711;UDP;1", "1", {{1, "4145"}}},  // commissioning is STUP's
  };
  for (const auto& c : cases) {
    Device device(DeviceSettings{.servicePassword = "4711", .pcClock = [] { return kPcTime; }});
    if (c.receiptOpen) device.state().sales.open.kind = OpenDocument::Kind::kReceipt;
    if (c.registerBefore) device.state().info[1] = c.registerBefore;
    const Answer answer = Ask(device, c.command);
    EXPECT_EQ(answer.text, std::string(c.answer) + "\r") << c.command;
    EXPECT_EQ(answer.baud, 9600u) << c.command << ": answered at the old speed";
    EXPECT_EQ(device.state().baud, c.baudAfter) << c.command;
    for (const auto& [number, value] : c.info)
      EXPECT_EQ(Ask(device, "IV;" + std::to_string(number)).text, value + "\r") << c.command << " info " << number;
  }
}

TEST(ServiceCommands, TheClockTicksOnFromTheTimeSetAndTheLineSpeedsStartAtTheDevices) {
  const struct {
    std::string set;  // STDATETIME arguments after the password; "" sets nothing
    int secondsLater;
    std::string clock;
  } cases[] = {
      {"", 0, "07.12.2026 10:00:00"},
      {"", 3600 * 14 + 5, "08.12.2026 00:00:05"},
      {"9;7;0;5;3;2024", 65, "05.03.2024 09:08:05"},
      {"23;59;0;31;12;2024", 75, "01.01.2025 00:00:15"},
      {"23;59;0;28;2;2024", 120, "29.02.2024 00:01:00"},
  };
  for (const auto& c : cases) {
    LocalDateTime pc = kPcTime;
    Device device(DeviceSettings{.servicePassword = "4711", .pcClock = [&pc] { return pc; }});
    if (!c.set.empty()) {
      ASSERT_EQ(Ask(device, "STDATETIME;4711;" + c.set).text, "0\r");
    }
    pc.hour += c.secondsLater / 3600;
    pc.minute += c.secondsLater % 3600 / 60;
    pc.second += c.secondsLater % 60;
    if (pc.hour >= 24) {  // a day later, as far as these cases go
      pc.hour -= 24;
      ++pc.date.day;
    }
    EXPECT_EQ(Ask(device, "IV;19").text, c.clock + "\r") << c.set << " +" << c.secondsLater;
  }

  const std::pair<uint32_t, const char*> speeds[] = {{9600, "0"}, {38400, "64"}, {115200, "96"}};
  for (const auto& [baud, code] : speeds) {
    Device device(DeviceSettings{.baud = baud});
    EXPECT_EQ(Ask(device, "IV;170").text, std::string(code) + "\r") << baud;
  }
}

}  // namespace
}  // namespace korvena::emu
