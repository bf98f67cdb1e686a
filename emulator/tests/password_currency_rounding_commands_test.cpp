#include <gtest/gtest.h>

#include "korvena/emulator/emulated_port.h"
#include "korvena/link/command_link.h"

namespace korvena::emu {
namespace {

constexpr const char* kDefaultRounding = "A0.05,A0.05,H1,A0.05,P10,A0.05";

// Each case on a fresh device whose service password is "4711": the
// command's answer, which info 0 reports once more, then a query that shows
// what the command left behind (nothing when it was refused).
TEST(PasswordCurrencyRoundingCommands, AnswerAndKeepWhatTheyAccept) {
  const struct {
    std::string command;
    std::string answer;
    std::string then;
    std::string thenAnswer;
  } cases[] = {
      {"STPASS;4711;0", "0", "TESTPASSWORD;0", "0"},
      {"STPASS;4711;12345678901", "0", "TESTPASSWORD;12345678901", "0"},
      {"STPASS;4711;123456789012", "1", "TESTPASSWORD;4711", "0"},
      {"STPASS;4711;", "1", "TESTPASSWORD;4711", "0"},
      {"STPASS;4711;-5", "1", "TESTPASSWORD;4711", "0"},
      {"STPASS;0;5", "512", "TESTPASSWORD;4711", "0"},

      {"STKZ;4711;2;K\x9f;25,30", "0", "IV;73", "K\x9f,25,30"},  // code page 852 bytes, as sent
      {"STKZ;4711;4;;", "0", "IV;75", ","},
      {"STKZ;4711;1;EURO;1", "1", "IV;72", "EUR,1"},  // longer than the device holds
      {"STKZ;4711;1;E,U;1", "1", "IV;72", "EUR,1"},   // the comma would end the symbol
      {"STKZ;4711;5;GBP;1", "1", "IV;76", ""},
      {"STKZ;4711;0;GBP;1", "1", "IV;71", ""},
      {"STKZ;4711;x;GBP;1", "1", "IV;72", "EUR,1"},
      {"STKZ;4711;1;GBP;1;2", "1", "IV;72", "EUR,1"},  // a ";" in the rate
      {"STKZ;0;1;GBP;1", "512", "IV;72", "EUR,1"},

      {"STZTYP;4711;0.5;0.05;0.99999999;1;50;10;0.5;0.1;0.5;0.05;50;5", "0", "IV;150", "A0.05,H1,P10,A0.1,A0.05,P5"},
      {"STZTYP;4711;0.5;0.05;0.99999999;1;50;10;0.5;0.1;0.5;0.05;50", "1", "IV;150", kDefaultRounding},
      {"STZTYP;4711;0.5;0.05;0.99999999;1;50;10;0.5;0.1;0.5;0.05;50;5;1", "1", "IV;150", kDefaultRounding},
      {"STZTYP;4711;0.4;0.05;0.99999999;1;50;10;0.5;0.1;0.5;0.05;50;5", "1", "IV;150", kDefaultRounding},
      {"STZTYP;4711;0.5;;0.99999999;1;50;10;0.5;0.1;0.5;0.05;50;5", "1", "IV;150", kDefaultRounding},
      {"STZTYP;4711;0.5;0,05;0.99999999;1;50;10;0.5;0.1;0.5;0.05;50;5", "1", "IV;150", kDefaultRounding},
      {"STZTYP;1;0.5;0.05;0.99999999;1;50;10;0.5;0.1;0.5;0.05;50;5", "512", "IV;150", kDefaultRounding},
  };
  for (const auto& c : cases) {
    Device device(DeviceSettings{.servicePassword = "4711"});
    VirtualClock clock;
    EmulatedPort port{device, clock};
    port.Open(1, 9600);
    CommandLink link{port, clock};
    const auto ask = [&](const std::string& text) {
      link.SendText("\x1b;" + text + "\r");
      return link.ReadResponse(100);
    };
    EXPECT_EQ(ask(c.command), c.answer) << c.command;
    EXPECT_EQ(ask("IV;0"), c.answer) << c.command;
    EXPECT_EQ(ask(c.then), c.thenAnswer) << c.command;
  }
}

}  // namespace
}  // namespace korvena::emu
