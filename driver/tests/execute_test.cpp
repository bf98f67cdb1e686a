// Whole commands through the driver's rules, for a program that does not
// feed it characters: the same bytes and codes, the data handed back, and
// files only when asked for.
#include <gtest/gtest.h>

#include "driver_rig.h"

namespace korvena::driver::testing {
namespace {

TEST(Execute, GivesTheCodesOfTheWriteExportsAndTheDataBack) {
  const struct {
    const char* name;
    std::string command;
    std::map<std::string, std::string> replies;
    ExecuteOptions options;
    CommandOutcome outcome;
    std::string wire;  // what reached the device
  } cases[] = {
      {"info", "\x1b;IV;7", {{"\x1b;IV;7\r", "KV-1\r"}}, {}, {kOk, "KV-1", "", ""}, "\x1b;IV;7\r"},
      {"general", "\x1b;K;5", {{"\x1b;K;5\r", "3\r"}}, {}, {3, "", "", ""}, "\x1b;K;5\r"},
      {"ldx_fetched_when_asked",
       "\x1b;K;5",
       {{"\x1b;K;5\r", "0\r"}, {"\x1b;GETLDX\r", std::string("ab\x00\xC3", 4)}},
       {.fetchLdx = true},
       {kOk, "", "ab", ""},
       "\x1b;K;5\r\x1b;GETLDX\r"},
      {"no_ldx_unless_asked", "\x1b;K;5", {{"\x1b;K;5\r", "0\r"}}, {}, {kOk, "", "", ""}, "\x1b;K;5\r"},
      {"sd_day", "\x1b;READSD;4", {{"\x1b;READSD;4\r", "2\rxy0\r"}}, {}, {kOk, "", "", "xy"}, "\x1b;READSD;4\r"},
      {"sd_day_cut_short", "\x1b;READSD;4", {{"\x1b;READSD;4\r", "5\rxy"}}, {}, {kFailed, "", "", "xy"},
       "\x1b;READSD;4\r"},
      {"a_cr_inside_is_refused", "\x1b;K;5\r\x1b;K;6", {}, {}, {kFailed, "", "", ""}, ""},
      {"no_escape_is_discarded", "K;5", {}, {}, {kOk, "", "", ""}, ""},
      {"too_long", "\x1b;" + std::string(CommandBuffer::kCapacity, 'x'), {}, {}, {kFailed, "", "", ""}, ""},
  };
  for (const auto& c : cases) {
    ScriptedRig rig;
    for (const auto& [frame, reply] : c.replies) rig.replies[frame] = reply;
    rig.Start();
    rig.port.written.clear();
    const CommandOutcome outcome = rig.driver.Execute(c.command, c.options);
    EXPECT_EQ(outcome.result, c.outcome.result) << c.name;
    EXPECT_EQ(outcome.answer, c.outcome.answer) << c.name;
    EXPECT_EQ(outcome.ldx, c.outcome.ldx) << c.name;
    EXPECT_EQ(outcome.sd, c.outcome.sd) << c.name;
    EXPECT_EQ(rig.port.written, c.wire) << c.name;
    EXPECT_EQ(rig.dir.Names(), std::vector<std::string>{"KVORWXX.INI"}) << c.name << ": no file unless asked";
  }
}

TEST(Execute, WritesTheFilesOfTheExportsWhenAskedAndLeavesTheBuffersAsTheyDo) {
  ScriptedRig rig;
  rig.replies["\x1b;K\r"] = "0\r";
  rig.replies["\x1b;GETLDX\r"] = std::string("ab\x00\xC3", 4);
  rig.Start("Ldx=1\r\n");
  rig.Type("\x1b;half");  // a till's command half typed stays apart
  const CommandOutcome outcome = rig.driver.Execute("\x1b;K", {.writeFiles = true});
  EXPECT_EQ(outcome.result, kOk);
  EXPECT_EQ(outcome.ldx, "ab");
  EXPECT_EQ(rig.dir.Read("KORVENA.LDX", kMissing), "ab");
  EXPECT_EQ(rig.dir.Read("20240307.tx", kMissing), "ab");
  rig.port.written.clear();
  rig.Type(";0\r");
  EXPECT_EQ(rig.port.written, "\x1b;half;0\r") << "the half typed command goes on";
}

TEST(Execute, BeforeAStartNothingIsSent) {
  ScriptedRig rig;
  EXPECT_EQ(rig.driver.Execute("\x1b;IV;0").result, kNotStarted);
  EXPECT_TRUE(rig.port.written.empty());
}

}  // namespace
}  // namespace korvena::driver::testing
