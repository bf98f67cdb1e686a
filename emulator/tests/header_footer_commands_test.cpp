#include <gtest/gtest.h>

#include "korvena/emulator/emulated_port.h"
#include "korvena/link/command_link.h"

namespace korvena::emu {
namespace {

struct LinesRig {
  LinesRig() : device(DeviceSettings{.servicePassword = "4711"}) { port.Open(1, 9600); }
  Device device;
  VirtualClock clock;
  EmulatedPort port{device, clock};
  CommandLink link{port, clock};

  std::string Ask(const std::string& command) {
    link.SendText("\x1b;" + command + "\r");
    return link.ReadResponse(100);
  }
};

TEST(HeaderFooterCommands, StoreLinesAsSentAndRefuseWhatTheyCannotHold) {
  const std::string forty(40, 'x');
  const struct {
    std::string command;
    std::string answer;
    int info;             // the line the command aims at
    std::string stored;   // what that info number reports afterwards
  } cases[] = {
      {"HL;4711;0;Obchod", "0", 120, "Obchod"},
      {"TL;4711;9;\xD2" "akujeme", "0", 139, "\xD2" "akujeme"},  // 852 bytes kept
      {"HL;4711;3;", "0", 123, ""},                                // an empty line
      {"TL;4711;0;" + forty, "0", 130, forty},
      {"TL;4711;1;" + forty + "y", "1", 131, "Te\xE7\xA1me sa na Va\xE7u \xD4" "al\xE7iu n\xA0v\xE7tevu"},
      {"HL;0;0;Obchod", "512", 120, "Potraviny U Mosta s.r.o."},
      {"HL;;0;Obchod", "512", 120, "Potraviny U Mosta s.r.o."},
      {"HL;4711;10;Obchod", "1", 120, "Potraviny U Mosta s.r.o."},
      {"HL;4711;-1;Obchod", "1", 120, "Potraviny U Mosta s.r.o."},
      {"HL;4711;x;Obchod", "1", 120, "Potraviny U Mosta s.r.o."},
      {"HL;4711;;Obchod", "1", 120, "Potraviny U Mosta s.r.o."},
      {"HL;4711;0", "1", 120, "Potraviny U Mosta s.r.o."},        // no text field
      {"HL;4711;0;a;b", "1", 120, "Potraviny U Mosta s.r.o."},    // one field too many
  };
  for (const auto& c : cases) {
    LinesRig rig;
    EXPECT_EQ(rig.Ask(c.command), c.answer) << c.command;
    EXPECT_EQ(rig.Ask("IV;0"), c.answer) << c.command;  // where the service program looks
    EXPECT_EQ(rig.Ask("IV;" + std::to_string(c.info)), c.stored) << c.command;
  }
}

}  // namespace
}  // namespace korvena::emu
