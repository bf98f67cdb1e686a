// The frame log of korvena-emu and korvena-service: what a developer reads beside KORVENA.DBG.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvena/protocol/frame_log.h"

namespace korvena::protocol {
namespace {

using Direction = FrameLog::Direction;

struct Step {
  uint32_t atMs;
  Direction direction;
  std::string bytes;
};

TEST(FrameLog, OneFramePerLineWithItsTimeAndDirection) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> lines;
  } cases[] = {
      {"a command and its answer",
       {{45296789, Direction::kFromPc, "\x1b;IV;5\r"}, {45296791, Direction::kToPc, "KORVENA\r"}},
       {"12:34:56.789 PC>  <1B>;IV;5<0D>\n", "12:34:56.791 <KV  KORVENA<0D>\n"}},
      {"a CRC announcement ends at its NUL",
       {{0, Direction::kFromPc, std::string("\x1b;CRC;200\0\x1b;K\r", 14)}},
       {"00:00:00.000 PC>  <1B>;CRC;200<00>\n", "00:00:00.000 PC>  <1B>;K<0D>\n"}},
      {"a pause splits data; '<' and high bytes as hex",
       {{1000, Direction::kToPc, "a<\xff"}, {1100, Direction::kToPc, "b"}},
       {"00:00:01.000 <KV  a<3C><FF>\n", "00:00:01.100 <KV  b\n"}},
      {"the direction turning ends a frame",
       {{5, Direction::kToPc, "0"}, {6, Direction::kFromPc, "\x1b"}},
       {"00:00:00.005 <KV  0\n", "00:00:00.006 PC>  <1B>\n"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    uint32_t now = 0;
    {
      FrameLog log([&lines](const std::string& line) { lines.push_back(line); }, [&now] { return now; });
      for (const Step& step : c.steps) {
        now = step.atMs;
        log.Bytes(step.direction, step.bytes);
      }
    }
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}

}  // namespace
}  // namespace korvena::protocol
