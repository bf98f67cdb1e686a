// The write pipeline: what goes on the wire and which result comes back.
#include <gtest/gtest.h>

#include "driver_rig.h"
#include "korvena/link/driver_link.h"

namespace korvena::driver::testing {
namespace {

struct AnswerCase {
  const char* name;
  std::string reply;  // what the device sends after the command
  uint16_t result;
  friend std::ostream& operator<<(std::ostream& os, const AnswerCase& c) { return os << c.name; }
};

class GeneralResultTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(GeneralResultTest, TurnsTheAnswerIntoTheResult) {
  ScriptedRig rig;
  rig.Start();
  rig.replies["\x1b;S;0\r"] = GetParam().reply;
  EXPECT_EQ(rig.Type("\x1b;S;0\r"), GetParam().result);
  EXPECT_EQ(rig.port.written, "\x1b;S;0\r");
  EXPECT_EQ(rig.port.calls, std::vector<std::string>{"Flush"}) << "one Flush right before the command";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, GeneralResultTest,
    ::testing::Values(AnswerCase{"zero", "0\r", 0}, AnswerCase{"device_number", "12\r", 12},
                      AnswerCase{"leading_zero", "007\r", 7}, AnswerCase{"largest", "65535\r", 65535},
                      AnswerCase{"too_large", "70000\r", 1}, AnswerCase{"text", "OK\r", 1},
                      AnswerCase{"negative", "-1\r", 1}, AnswerCase{"blank_inside", "1 2\r", 1},
                      AnswerCase{"nul_inside", std::string("1\0", 2) + "\r", 1},
                      AnswerCase{"bare_cr_is_success", "\r", 0}, AnswerCase{"silence", "", 256},
                      AnswerCase{"partial_number_at_the_deadline", "12", 12},
                      AnswerCase{"partial_text_at_the_deadline", "E", 1}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(WritePipeline, SilenceIsWaitedForThirtySeconds) {
  ScriptedRig rig;
  rig.Start("Timeout=100\r\n");
  const uint32_t before = rig.clock.Ticks();
  EXPECT_EQ(rig.Type("\x1b;DX\r"), kNoAnswer);
  EXPECT_EQ(rig.clock.Ticks() - before, 30001u);
}

TEST(WritePipeline, NotStartedGivesTheNotStartedCodeAndStoresNothing) {
  ScriptedRig rig;
  for (const char c : std::string("\x1b;K\r")) EXPECT_EQ(rig.driver.Write(static_cast<uint8_t>(c)), kNotStarted);
  EXPECT_TRUE(rig.port.written.empty());
  rig.Start();
  EXPECT_EQ(rig.Type("\r"), kOk);
  EXPECT_TRUE(rig.port.written.empty()) << "nothing was stored before the start";
}

TEST(WritePipeline, EveryCharacterButTheCrIsOnlyStored) {
  ScriptedRig rig;
  rig.Start();
  for (const char c : std::string("\x1b;S;0")) EXPECT_EQ(rig.driver.Write(static_cast<uint8_t>(c)), kOk);
  EXPECT_TRUE(rig.port.written.empty());
  EXPECT_TRUE(rig.port.calls.empty());
}

TEST(WritePipeline, FramesWithoutEscInFrontAreDropped) {
  ScriptedRig rig;
  rig.Start();
  EXPECT_EQ(rig.Type("\r"), kOk);
  EXPECT_EQ(rig.Type("S;0\r"), kOk);
  EXPECT_EQ(rig.Type(" \x1b;S;0\r"), kOk);
  EXPECT_TRUE(rig.port.written.empty());
  EXPECT_TRUE(rig.port.calls.empty()) << "not even a Flush";
}

TEST(WritePipeline, ApplicationsEndingWithCrLfLoseEveryCommandAfterTheFirst) {
  ScriptedRig rig;
  rig.Start();
  rig.replies["\x1b;S;0\r"] = "0\r";
  EXPECT_EQ(rig.Type("\x1b;S;0\r\n"), kOk);
  EXPECT_EQ(rig.Type("\x1b;L;1;1;A;x\r\n"), kOk) << "the LF opened the buffer, so this one is dropped";
  EXPECT_EQ(rig.port.written, "\x1b;S;0\r");
}

TEST(WritePipeline, TheBufferHoldsAtMost32768Characters) {
  ScriptedRig rig;
  rig.Start();
  const std::string head = "\x1b;L;1;1;A;";
  const std::string kept = head + std::string(CommandBuffer::kCapacity - head.size(), 'x');
  rig.Type(kept + "yyy\r");
  EXPECT_EQ(rig.port.written, kept + "\r");
  rig.port.written.clear();
  rig.Type("\x1b;DX\r");
  EXPECT_EQ(rig.port.written, "\x1b;DX\r") << "the next command starts empty";
}

TEST(WritePipeline, FieldsAreSentExactlyAsWritten) {
  ScriptedRig rig;
  rig.Start();
  const std::string command = std::string("\x1b;L;1.000;2.50;A;Ch\xe9" "b\0;;", 18) + "\xff";
  rig.Type(command + "\r");
  EXPECT_EQ(rig.port.written, command + "\r");
}

struct InfoCase {
  const char* name;
  std::string settings;
  std::string typed;
  std::string command;  // as the device receives it
  std::string sent;     // all bytes on the wire
};

TEST(WritePipeline, InfoQueriesGoOutAsTheSettingsSay) {
  const InfoCase cases[] = {
      {"iv_off", "", "\x1b;IV;5", "\x1b;IV;5\r", "\x1b;IV;5\r"},
      {"iv_on_becomes_info", "IV=1\r\n", "\x1b;IV;5;extra", "\x1b;INFO;5\r", "\x1b;INFO;5\r"},
      {"info_unchanged", "IV=1\r\n", "\x1b;INFO;5;x", "\x1b;INFO;5;x\r", "\x1b;INFO;5;x\r"},
      {"iv_on_crc_frames_the_info_form", "IV=1\r\nCRC=1\r\n", "\x1b;IV;5", "\x1b;INFO;5\r",
       CrcAnnouncement("\x1b;INFO;5\r") + "\x1b;INFO;5\r"},
  };
  for (const InfoCase& c : cases) {
    ScriptedRig rig;
    rig.Start(c.settings);
    rig.replies[c.command] = "K1\r";
    EXPECT_EQ(rig.Type(c.typed + "\r"), kOk) << c.name;
    EXPECT_EQ(rig.port.written, c.sent) << c.name;
    EXPECT_EQ(ReadAll(rig.driver), (std::vector<int>{'K', '1', 13})) << c.name;
  }
}

TEST(WritePipeline, InfoAnswerTimesOutAfterTenTimesT) {
  ScriptedRig rig;
  rig.Start("Timeout=200\r\n");
  const uint32_t before = rig.clock.Ticks();
  rig.port.onFrame = [&](const std::string&) { rig.port.SendAt(before + 500, "12"); };
  EXPECT_EQ(rig.Type("\x1b;IV;9\r"), kNoAnswer);
  EXPECT_EQ(rig.clock.Ticks() - before, 2001u);
  EXPECT_EQ(ReadAll(rig.driver), (std::vector<int>{'1', '2', 13})) << "the partial answer is kept";
}

TEST(WritePipeline, CrcModeAnnouncesEveryText) {
  ScriptedRig rig;
  rig.Start("CRC=1\r\nLdx=1\r\n");
  rig.replies["\x1b;K;5\r"] = "0\r";
  rig.replies["\x1b;GETLDX\r"] = "data..";
  EXPECT_EQ(rig.Type("\x1b;K;5\r"), kOk);
  EXPECT_EQ(rig.port.written,
            CrcAnnouncement("\x1b;K;5\r") + "\x1b;K;5\r" + CrcAnnouncement("\x1b;GETLDX\r") + "\x1b;GETLDX\r");
}

TEST(WritePipeline, CrcFramesAreCheckedByTheDevice) {
  EmulatedRig rig;
  rig.Start("CRC=1\r\nIV=1\r\n");
  rig.device.state().info[5] = "v1";
  EXPECT_EQ(rig.Type("\x1b;IV;5\r"), kOk);
  EXPECT_EQ(ReadAll(rig.driver), (std::vector<int>{'v', '1', 13}));
  EXPECT_EQ(rig.Type("\x1b;S;0\r"), kOk);
  EXPECT_EQ(rig.device.received().back(), "\x1b;S;0");
}

TEST(WritePipeline, WithLdxOnOnlyASuccessfulLdxProducingCommandFetches) {
  const struct {
    std::string command;
    std::string reply;
    bool fetches;
  } cases[] = {
      {"\x1b;K;5", "0\r", true},    {"\x1b;K;5", "3\r", false},  {"\x1b;KF", "0\r", true},
      {"\x1b;CDDM", "0\r", true},   {"\x1b;S;0", "0\r", false},  {"\x1b;k", "0\r", false},
      {"\x1b;KX", "0\r", false},    {"\x1b;DZ", "\r", true},     {"\x1b;DX", "", false},
  };
  for (const auto& c : cases) {
    ScriptedRig rig;
    rig.Start("Ldx=1\r\n");
    rig.replies[c.command + "\r"] = c.reply;
    rig.replies["\x1b;GETLDX\r"] = "abc..";
    rig.Type(c.command + "\r");
    EXPECT_EQ(rig.port.written, c.command + "\r" + (c.fetches ? "\x1b;GETLDX\r" : "")) << c.command;
    EXPECT_EQ(rig.dir.Has("KORVENA.LDX"), c.fetches) << c.command;
  }
}

TEST(WritePipeline, WithLdxOffNothingIsFetched) {
  ScriptedRig rig;
  rig.Start();
  rig.replies["\x1b;K\r"] = "0\r";
  EXPECT_EQ(rig.Type("\x1b;K\r"), kOk);
  EXPECT_EQ(rig.port.written, "\x1b;K\r");
}

TEST(WritePipeline, AFailedFetchKeepsTheCommandsResult) {
  ScriptedRig rig;
  rig.Start("Ldx=1\r\n");
  rig.replies["\x1b;K\r"] = "0\r";
  rig.replies["\x1b;GETLDX\r"] = "..";  // the trailer alone: no data
  EXPECT_EQ(rig.Type("\x1b;K\r"), kOk);
  EXPECT_FALSE(rig.dir.Has("KORVENA.LDX"));
}

// The device has printed the document when it answers 0: a file that cannot
// be written afterwards must not turn that into 1, or the till prints the
// receipt again. Only GETLDX itself, whose job is the file, reports it.
TEST(WritePipeline, AnLdxFileThatCannotBeWrittenKeepsThePrintedDocumentsResult) {
  const struct {
    const char* settings;
    const char* command;
    std::string unwritten;
    const char* daily;  // what the day's file holds then: it is written all the same
  } cases[] = {
      {"FileLD=no/such/dir/K.LDX", "\x1b;K\r", "no/such/dir/K.LDX", "receipt"},
      {"FileDir=no/such/dir", "\x1b;K\r", "no/such/dir" + std::string(kDelimiter) + "20240307.tx", kMissing},
      {"FileLD=no/such/dir/K.LDX", "\x1b;MIP;1;2\r", "no/such/dir/K.LDX", "receipt"},
  };
  for (const auto& c : cases) {
    ScriptedRig rig;
    rig.Start(std::string("Ldx=1\r\nDebug=1\r\n") + c.settings + "\r\n");
    rig.replies[c.command] = "0\r";
    rig.replies["\x1b;GETLDX\r"] = "receipt..";
    EXPECT_EQ(rig.Type(c.command), kOk) << c.settings;
    const std::string logged = "file not written: " + rig.dir.path() + kDelimiter + c.unwritten + "\r\n";
    EXPECT_NE(rig.dir.Read("KORVENA.DBG").find(logged), std::string::npos) << c.settings;
    EXPECT_EQ(rig.dir.Read("20240307.tx", kMissing), c.daily) << c.settings;
    EXPECT_EQ(rig.Type("\x1b;GETLDX\r"), kFailed) << c.settings;
  }
}

struct AckCase {
  const char* name;
  std::string replies;  // all sent at once after the command
  uint16_t result;
};

TEST(WritePipeline, MipAndMdpWaitForTheAcknowledgement) {
  const AckCase cases[] = {
      {"zero", "0\r", 0}, {"refused", "1\r", 1}, {"zero_blank", "0 \r", 1},
      {"empty_lines_skipped", "\r\r\r0\r", 0},   {"silence", "", 1},
  };
  for (const char* name : {"MIP", "MDP"}) {
    for (const AckCase& c : cases) {
      ScriptedRig rig;
      rig.Start();
      const std::string command = std::string("\x1b;") + name + ";1;2\r";
      rig.replies[command] = c.replies;
      EXPECT_EQ(rig.Type(command), c.result) << name << " " << c.name;
      EXPECT_EQ(rig.port.written, command);
    }
  }
}

TEST(WritePipeline, TheAcknowledgementWaitIsBounded) {
  ScriptedRig rig;
  rig.Start();
  const uint32_t before = rig.clock.Ticks();
  // Late, but within 30 waits of 10 s.
  rig.port.onFrame = [&](const std::string&) { rig.port.SendAt(before + 200000, "0\r"); };
  EXPECT_EQ(rig.Type("\x1b;MIP;1;2\r"), kOk);
  rig.port.onFrame = nullptr;
  const uint32_t second = rig.clock.Ticks();
  EXPECT_EQ(rig.Type("\x1b;MIP;1;2\r"), kFailed);
  EXPECT_EQ(rig.clock.Ticks() - second, kAcknowledgementSteps * (kAcknowledgementStepMs + 1));
}

TEST(WritePipeline, AnAcknowledgedMipFetchesLdxData) {
  ScriptedRig rig;
  rig.Start("Ldx=1\r\n");
  rig.replies["\x1b;MIP;1;2\r"] = "0\r";
  rig.replies["\x1b;GETLDX\r"] = "report..";
  EXPECT_EQ(rig.Type("\x1b;MIP;1;2\r"), kOk);
  EXPECT_EQ(rig.port.written, "\x1b;MIP;1;2\r\x1b;GETLDX\r");
  EXPECT_EQ(rig.dir.Read("KORVENA.LDX", kMissing), "report");
}

TEST(WritePipeline, AFailedSendOfAGeneralCommandShowsAsNoAnswer) {
  ScriptedRig rig;
  rig.Start();
  rig.port.writesBeforeFailure = 2;
  EXPECT_EQ(rig.Type("\x1b;K\r"), kNoAnswer);
  rig.port.writesBeforeFailure = 2;
  EXPECT_EQ(rig.Type("\x1b;GETLDX\r"), kFailed);
  rig.port.writesBeforeFailure = 2;
  EXPECT_EQ(rig.Type("\x1b;MIP\r"), kFailed);
  rig.port.writesBeforeFailure = 2;
  EXPECT_EQ(rig.Type("\x1b;READSD;1\r"), kFailed);
}

}  // namespace
}  // namespace korvena::driver::testing
