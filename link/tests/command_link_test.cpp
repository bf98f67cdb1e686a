#include <gtest/gtest.h>

#include "korvena/link/driver_link.h"
#include "korvena/link/loader_link.h"
#include "korvena/link/scripted_port.h"
#include "korvena/link/six_call_port.h"

namespace korvena {
namespace {

// Starts just below the 32-bit wrap so every deadline crosses it.
constexpr uint32_t kNearWrap = 0xFFFFFF00u;

struct ReadCase {
  const char* name;
  std::string incoming;
  uint32_t limit;
  std::string expected;
  bool endsAtDeadline;  // true when the limit, not a CR, ended the read
  friend std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.name; }
};

class ReadResponseTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadResponseTest, ReturnsTheLineOrWhatCameBeforeTheDeadline) {
  const ReadCase& c = GetParam();
  VirtualClock clock(kNearWrap);
  ScriptedPort port(clock);
  CommandLink link(port, clock);
  port.Send(c.incoming);
  EXPECT_EQ(link.ReadResponse(c.limit), c.expected);
  const uint32_t elapsed = clock.Ticks() - kNearWrap;
  if (c.endsAtDeadline)
    EXPECT_EQ(elapsed, c.limit + 1) << "a read stops at the first poll past the limit";
  else
    EXPECT_LT(elapsed, c.limit);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadResponseTest,
    ::testing::Values(ReadCase{"zero", "0\r", 100, "0", false},
                      ReadCase{"bare_cr_is_empty_before_deadline", "\r", 100, "", false},
                      ReadCase{"partial_line_at_deadline", "12", 100, "12", true},
                      ReadCase{"silence", "", 250, "", true},
                      ReadCase{"lf_and_nul_belong_to_the_line", std::string("a\nb\0c\r", 6), 100,
                               std::string("a\nb\0c", 5), false},
                      ReadCase{"only_first_line_is_taken", "7\r8\r", 100, "7", false},
                      ReadCase{"high_bytes_unchanged", "\xff\x80\r", 100, "\xff\x80", false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ReadResponse, BytesArrivingLateDoNotExtendTheLimit) {
  VirtualClock clock(kNearWrap);
  ScriptedPort port(clock);
  CommandLink link(port, clock);
  port.SendAt(kNearWrap + 50, "1");
  port.SendAt(kNearWrap + 99, "2");
  port.SendAt(kNearWrap + 150, "3\r");
  EXPECT_EQ(link.ReadResponse(100), "12");
  EXPECT_EQ(link.ReadResponse(100), "3") << "the rest stays for the next read";
}

// A device that never ends its line must not take the program's memory: the
// read ends at the cap, with a text that is no number.
TEST(ReadResponse, ALineWithoutItsCrEndsAtTheCap) {
  VirtualClock clock(kNearWrap);
  ScriptedPort port(clock);
  CommandLink link(port, clock);
  port.Send(std::string(kLongestAnswerLine + 10, '7') + "\r");
  const std::string line = link.ReadResponse(30000);
  EXPECT_EQ(line.size(), kLongestAnswerLine);
  EXPECT_EQ(clock.Ticks(), kNearWrap) << "ended at once, not at the deadline";
}

struct StreamCase {
  const char* name;
  std::vector<std::pair<uint32_t, std::string>> incoming;  // (ms after the start, bytes)
  std::optional<uint64_t> expected;
  std::size_t cap;
  std::string bytes;
  bool cut;
  uint32_t endsAfterMs;
};

// First byte within 100 ms, then at most 20 ms between bytes.
TEST(ReadByteStream, EndsAtTheCountTheQuietTimeOrTheCap) {
  const StreamCase cases[] = {
      {"silent", {}, std::nullopt, 64, "", false, 101},
      {"late_first_byte", {{101, "x"}}, std::nullopt, 64, "", false, 101},
      {"quiet_after_the_last_byte", {{50, "ab"}, {70, "c"}, {91, "d"}}, std::nullopt, 64, "abc", false, 91},
      {"count_reached", {{10, "abcdef"}}, 4, 64, "abcd", false, 10},
      {"zero_expected_ends_at_the_first_empty_poll", {}, 0, 64, "", false, 1},
      {"zero_expected_passed_by_the_first_byte", {{0, "ab"}}, 0, 64, "ab", false, 21},
      {"count_never_reached", {{10, "ab"}}, 5, 64, "ab", false, 31},
      {"cut_at_the_cap", {{10, "abcdef"}}, std::nullopt, 4, "abcd", true, 10},
      {"count_equal_to_the_cap_is_complete", {{10, "abcd"}}, 4, 4, "abcd", false, 10},
  };
  for (const StreamCase& c : cases) {
    VirtualClock clock(kNearWrap);
    ScriptedPort port(clock);
    CommandLink link(port, clock);
    for (const auto& [at, bytes] : c.incoming) port.SendAt(kNearWrap + at, bytes);
    ByteStreamRule rule;
    rule.firstByteMs = 100;
    rule.quietMs = 20;
    rule.expected = c.expected;
    rule.cap = c.cap;
    std::vector<std::size_t> counts;
    const ByteStream stream = link.ReadByteStream(rule, [&](std::size_t n) { counts.push_back(n); });
    EXPECT_EQ(stream.bytes, c.bytes) << c.name;
    EXPECT_EQ(stream.cut, c.cut) << c.name;
    EXPECT_EQ(clock.Ticks() - kNearWrap, c.endsAfterMs) << c.name;
    EXPECT_EQ(counts.size(), c.bytes.size()) << c.name;
  }
}

// A port library may answer a stored byte with any non-zero value; only the
// LDX reader insists on exactly 1.
TEST(ReadByteStream, TakesAByteOnAnyNonZeroAnswerUnlessExactlyOneIsAsked) {
  const struct {
    bool exactlyOne;
    uint8_t byteResult;
    const char* bytes;
  } cases[] = {{false, 1, "ab"}, {false, 2, "ab"}, {false, 255, "ab"}, {true, 1, "ab"}, {true, 2, ""}};
  for (const auto& c : cases) {
    VirtualClock clock(kNearWrap);
    ScriptedPort port(clock);
    CommandLink link(port, clock);
    port.byteResult = c.byteResult;
    port.SendAt(kNearWrap + 10, "ab");
    ByteStreamRule rule;
    rule.firstByteMs = rule.quietMs = 100;
    rule.cap = 64;
    rule.exactlyOne = c.exactlyOne;
    EXPECT_EQ(link.ReadByteStream(rule).bytes, c.bytes) << c.exactlyOne << " " << int{c.byteResult};
  }
}

// The flag is set from another thread in the program; here the byte handler
// sets it, and the stream must end before the next byte is taken.
TEST(ReadByteStream, EndsAtOnceWhenAskedToStop) {
  VirtualClock clock(kNearWrap);
  ScriptedPort port(clock);
  CommandLink link(port, clock);
  port.SendAt(kNearWrap + 10, "abcdef");
  std::atomic<bool> stop{false};
  ByteStreamRule rule;
  rule.firstByteMs = rule.quietMs = 100;
  rule.cap = 64;
  rule.stop = &stop;
  const ByteStream stream = link.ReadByteStream(rule, [&](std::size_t n) { stop = n == 2; });
  EXPECT_EQ(stream.bytes, "ab");
  EXPECT_TRUE(stream.stopped);
  EXPECT_EQ(clock.Ticks() - kNearWrap, 10u);
}

// What a read through the link ended with: its bytes, its last tick, and
// how often it found the line empty.
struct ReadEnd {
  std::string bytes;
  uint32_t ticks;
  int emptyReads;
  bool operator==(const ReadEnd& other) const { return bytes == other.bytes && ticks == other.ticks; }
  friend std::ostream& operator<<(std::ostream& os, const ReadEnd& e) {
    return os << '"' << e.bytes << "\" at " << e.ticks << " after " << e.emptyReads << " empty reads";
  }
};

template <typename Reading>
ReadEnd ReadThrough(bool waiting, uint32_t step, const std::vector<std::pair<uint32_t, std::string>>& incoming,
                    Reading reading) {
  VirtualClock clock(kNearWrap);
  ScriptedPort port(clock, step);
  SixCallPort polledOnly(port);
  CommandLink link(waiting ? static_cast<Port&>(port) : polledOnly, clock);
  for (const auto& [at, bytes] : incoming) port.SendAt(kNearWrap + at, bytes);
  std::string bytes = reading(link);
  return {std::move(bytes), clock.Ticks() - kNearWrap, port.emptyReads};
}

// A wait stands for the empty polls it saves: waiting or polling, a read ends
// on the same tick with the same bytes, whatever one poll costs, and waiting
// finds the line empty at most twice a wait (once before, once after).
TEST(Waiting, EndsEveryReadExactlyAsPollingDoes) {
  const struct {
    uint32_t step;
    std::vector<std::pair<uint32_t, std::string>> incoming;
  } lines[] = {
      {1, {{0, "ab"}, {50, "c"}, {99, "d\r"}}},
      {7, {{10, "x"}, {52, "yz"}, {101, "\r"}}},
      {97, {{0, "1"}, {96, "2"}, {200, "3\r"}}},
      {3, {}},
  };
  std::atomic<bool> neverStopped{false};
  for (const auto& line : lines) {
    for (const uint32_t limit : {0u, 1u, 49u, 50u, 98u, 99u, 100u, 101u, 150u, 300u}) {
      const auto response = [limit](CommandLink& link) { return link.ReadResponse(limit); };
      const auto stream = [&, limit](CommandLink& link) {
        ByteStreamRule rule;
        rule.firstByteMs = limit;
        rule.quietMs = 45;
        rule.cap = 64;
        rule.stop = limit % 2 == 0 ? &neverStopped : nullptr;  // a stop flag makes waits shorter
        return link.ReadByteStream(rule).bytes;
      };
      const std::string what = "step " + std::to_string(line.step) + ", limit " + std::to_string(limit);
      for (const auto& [name, waited, polled] :
           {std::tuple{"response", ReadThrough(true, line.step, line.incoming, response),
                       ReadThrough(false, line.step, line.incoming, response)},
            std::tuple{"stream", ReadThrough(true, line.step, line.incoming, stream),
                       ReadThrough(false, line.step, line.incoming, stream)}}) {
        EXPECT_EQ(waited, polled) << name << ", " << what;
        EXPECT_LE(waited.emptyReads, 2 * (static_cast<int>(line.incoming.size()) + 1 + static_cast<int>(limit / 50)))
            << name << ", " << what;
      }
    }
  }
}

TEST(SendText, WritesEachByteAloneAndStopsAtTheFirstFailure) {
  VirtualClock clock;
  ScriptedPort port(clock);
  CommandLink link(port, clock);
  EXPECT_TRUE(link.SendText(""));
  EXPECT_TRUE(link.SendText(std::string("\x1b;K;\0\xfe\r", 7)));
  EXPECT_EQ(port.written, std::string("\x1b;K;\0\xfe\r", 7));

  port.written.clear();
  port.writesBeforeFailure = 3;
  EXPECT_FALSE(link.SendText("\x1b;IV;0\r"));
  EXPECT_EQ(port.written, "\x1b;I");
}

struct CrcCase {
  std::string text;
  uint8_t initial;
  uint8_t expected;
};

TEST(CommandCrc, MatchesTheStandardCheckValues) {
  const CrcCase cases[] = {
      {"", 0x00, 0x00},        {"", 0x5A, 0x5A},  // empty text keeps the initial value
      {"123456789", 0, 0xA1},  // the standard check value of this CRC-8
      {"\x1b", 0, 0xBD},
  };
  for (const CrcCase& c : cases) EXPECT_EQ(CommandCrc(c.text, c.initial), c.expected) << c.text;
}

TEST(SendTextWithCrc, AnnouncesTheCommandThenSendsIt) {
  VirtualClock clock;
  ScriptedPort port(clock);
  DriverLink link(port, clock);
  const std::string command = "\x1b;GETLDX\r";
  ASSERT_TRUE(link.SendTextWithCrc(command));
  const std::string announcement = "\x1b;CRC;" + std::to_string(CommandCrc(command, 0)) + std::string(1, '\0');
  EXPECT_EQ(port.written, announcement + command);

  // The check value is plain decimal without padding, and the frame ends in NUL, not CR.
  EXPECT_EQ(CrcAnnouncement(""), std::string("\x1b;CRC;0\0", 8));
  EXPECT_EQ(CrcAnnouncement("\x1b"), std::string("\x1b;CRC;189\0", 10));
}

TEST(SendTextWithCrc, SkipsTheCommandWhenTheAnnouncementFails) {
  VirtualClock clock;
  ScriptedPort port(clock);
  DriverLink link(port, clock);
  port.writesBeforeFailure = 4;
  EXPECT_FALSE(link.SendTextWithCrc("\x1b;K\r"));
  EXPECT_EQ(port.written, "\x1b;CR");
}

// A peer that answers the identification command with scripted lines.
void AnswerIdentifications(ScriptedPort& port, std::vector<std::string> answers) {
  auto remaining = std::make_shared<std::vector<std::string>>(std::move(answers));
  port.onFrame = [&port, remaining](const std::string& frame) {
    if (frame == kIdentifyCommand && !remaining->empty()) {
      port.Send(remaining->front());
      remaining->erase(remaining->begin());
    }
  };
}

struct IdentifyCase {
  const char* name;
  std::vector<std::string> answers;
  bool identified;
  int commandsSent;
  friend std::ostream& operator<<(std::ostream& os, const IdentifyCase& c) { return os << c.name; }
};

class IdentifyDeviceTest : public ::testing::TestWithParam<IdentifyCase> {};

TEST_P(IdentifyDeviceTest, NeedsTwoAnswersAndThenExactlyZero) {
  const IdentifyCase& c = GetParam();
  VirtualClock clock(kNearWrap);
  ScriptedPort port(clock);
  CommandLink link(port, clock);
  AnswerIdentifications(port, c.answers);
  EXPECT_EQ(link.IdentifyDevice(100), c.identified);
  std::string expected;
  for (int i = 0; i < c.commandsSent; ++i) expected += kIdentifyCommand;
  EXPECT_EQ(port.written, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, IdentifyDeviceTest,
    ::testing::Values(IdentifyCase{"ready", {"0\r", "0\r", "0\r"}, true, 3},
                      IdentifyCase{"any_first_answers", {"busy\r", "7\r", "0\r"}, true, 3},
                      IdentifyCase{"double_zero", {"0\r", "0\r", "00\r"}, false, 3},
                      IdentifyCase{"zero_space", {"0\r", "0\r", "0 \r"}, false, 3},
                      IdentifyCase{"third_silent", {"0\r", "0\r"}, false, 3},
                      IdentifyCase{"first_empty", {"\r"}, false, 1},
                      IdentifyCase{"second_silent", {"0\r"}, false, 2}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(IdentifyDevice, AFailedWriteSkipsTheRead) {
  VirtualClock clock;
  ScriptedPort port(clock);
  CommandLink link(port, clock);
  port.writesBeforeFailure = 0;
  EXPECT_FALSE(link.IdentifyDevice(1000));
  EXPECT_EQ(clock.Ticks(), 0u) << "no time spent waiting for an answer";
}

// A device that answers the identification only at one line speed.
void DeviceAtBaud(ScriptedPort& port, int32_t deviceBaud) {
  port.onFrame = [&port, deviceBaud](const std::string& frame) {
    if (frame == kIdentifyCommand && port.baud == deviceBaud) port.Send("0\r");
  };
}

TEST(FindBaudRate, TriesTheTableInOrderUntilTheDeviceAnswers) {
  VirtualClock clock;
  ScriptedPort port(clock);
  CommandLink link(port, clock);
  DeviceAtBaud(port, 38400);
  EXPECT_EQ(link.FindBaudRate(100), 38400);
  EXPECT_EQ(port.calls, (std::vector<std::string>{"SetPort 9600", "SetPort 14400", "SetPort 19200",
                                                  "SetPort 28800", "SetPort 38400"}));
}

TEST(FindBaudRate, WithoutADeviceEndsAt115200AndReportsZero) {
  VirtualClock clock(kNearWrap);
  ScriptedPort port(clock);
  LoaderLink link(port, clock);
  EXPECT_EQ(link.FindBaudRate(), 0);
  EXPECT_EQ(port.calls.size(), 7u);
  EXPECT_EQ(port.baud, 115200);
  // Each rate waits once for the first answer, 500 ms in the loaders' copy.
  EXPECT_EQ(clock.Ticks() - kNearWrap, 7u * 501u);
}

}  // namespace
}  // namespace korvena
