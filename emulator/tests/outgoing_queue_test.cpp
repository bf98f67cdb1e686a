// What waits for the PC and what a PC that does not read loses, on a
// virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "outgoing_queue.h"

namespace korvena::emu {
namespace {

constexpr uint64_t kMs = 1000000;
constexpr uint64_t kSecond = 1000 * kMs;
constexpr uint32_t kBaud = 115200;

// The PC's end of a pseudo-terminal: it holds what the program has not yet
// read, up to what the kernel takes before it refuses more.
struct PcSide {
  std::size_t room = 13824;
  std::string waiting;
  std::string read;

  std::size_t Take(std::string_view bytes) {
    const std::size_t taken = std::min(bytes.size(), room - waiting.size());
    waiting.append(bytes.substr(0, taken));
    return taken;
  }
  void Read(std::size_t count) {
    count = std::min(count, waiting.size());
    read += waiting.substr(0, count);
    waiting.erase(0, count);
  }
};

// The line from `from` to `to`, in steps of 10 ms: the program reads
// `perStep` bytes a step (none while `pausedFrom` <= t < `pausedUntil`),
// then the queue hands on what is due.
void Serve(OutgoingQueue& queue, PcSide& pc, uint64_t from, uint64_t to, std::size_t perStep,
           uint64_t pausedFrom = 0, uint64_t pausedUntil = 0) {
  for (uint64_t now = from; now < to; now += 10 * kMs) {
    if (now < pausedFrom || now >= pausedUntil) pc.Read(perStep);
    queue.SendDue(now, kBaud, [&pc](std::string_view bytes) { return pc.Take(bytes); });
  }
}

std::string Bytes(std::size_t count) {
  std::string bytes(count, '\0');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}

TEST(OutgoingQueue, AReaderThatKeepsReadingGetsEveryByte) {
  const struct {
    const char* what;
    std::size_t answer;
    std::size_t perStep;
    uint64_t pausedFrom, pausedUntil;
  } readers[] = {
      {"a whole fiscal memory, read fast", 2u << 20, 65536, 0, 0},
      {"a whole fiscal memory, read at 5 KB/s", 2u << 20, 50, 0, 0},
      {"a whole fiscal memory, with a pause of 9 s", 2u << 20, 4096, 2 * kSecond, 11 * kSecond},
      {"a short answer read 8 s later", 40, 4096, 0, 8 * kSecond},
  };
  for (const auto& reader : readers) {
    OutgoingQueue queue;
    PcSide pc;
    const std::string answer = Bytes(reader.answer);
    ASSERT_TRUE(queue.Add(answer, kBaud, 0, 0));
    Serve(queue, pc, 0, 1000 * kSecond, reader.perStep, reader.pausedFrom, reader.pausedUntil);
    EXPECT_TRUE(pc.read == answer) << reader.what << ": " << pc.read.size() << " of " << answer.size();
    EXPECT_EQ(queue.lostBytes(), 0u) << reader.what;
    EXPECT_TRUE(queue.empty()) << reader.what;
  }
}

TEST(OutgoingQueue, APcThatStopsReadingLosesWhatWaitedForItAsOnALine) {
  OutgoingQueue queue;
  PcSide pc;
  const std::string answer = Bytes(100000);
  ASSERT_TRUE(queue.Add(answer, kBaud, 0, 0));
  Serve(queue, pc, 0, OutgoingQueue::kStallNs, 0);
  EXPECT_EQ(pc.waiting, answer.substr(0, pc.room)) << "the kernel holds its share";
  EXPECT_FALSE(queue.empty()) << "the rest still waits just before the stall time";
  Serve(queue, pc, OutgoingQueue::kStallNs, OutgoingQueue::kStallNs + 20 * kMs, 0);
  EXPECT_TRUE(queue.empty());
  EXPECT_EQ(queue.heldBytes(), 0u);
  EXPECT_EQ(queue.lostBytes(), answer.size() - pc.room);

  // Still not reading: a later answer is lost as soon as it is due.
  ASSERT_TRUE(queue.Add("late\r", kBaud, 15 * kSecond, 0));
  Serve(queue, pc, 15 * kSecond, 15 * kSecond + 20 * kMs, 0);
  EXPECT_TRUE(queue.empty());
  EXPECT_EQ(queue.lostBytes(), answer.size() - pc.room + 5);

  // Reading again, it gets what the kernel kept, then the new answers whole.
  pc.Read(pc.room);
  ASSERT_TRUE(queue.Add("fresh\r", kBaud, 20 * kSecond, 0));
  Serve(queue, pc, 20 * kSecond, 21 * kSecond, 4096);
  EXPECT_EQ(pc.read, answer.substr(0, pc.room) + "fresh\r");
}

TEST(OutgoingQueue, BytesNotYetDueOnAPacedLineAreNotLostToAStall) {
  OutgoingQueue queue;
  PcSide pc;
  const uint64_t byteNs = 10 * kSecond / kBaud;
  ASSERT_TRUE(queue.Add(Bytes(1u << 20), kBaud, 0, byteNs));
  const uint64_t lastStep = 30 * kSecond - 10 * kMs;
  Serve(queue, pc, 0, lastStep + 1, 0);
  EXPECT_EQ(queue.lostBytes(), lastStep / byteNs - pc.room) << "what the line sent while nobody read";
  EXPECT_FALSE(queue.empty()) << "the rest of the read-out is still on its way";
}

TEST(OutgoingQueue, AFloodOfAnswersNobodyReadsStaysWithinTheLimit) {
  const struct {
    const char* what;
    std::size_t answer;
    std::size_t count;
  } floods[] = {
      {"read-outs of the fiscal memory", 2u << 20, 20},
      {"short answers", 13, 3000000},
  };
  for (const auto& flood : floods) {
    OutgoingQueue queue;
    const std::string answer = Bytes(flood.answer);
    std::size_t kept = 0;
    // Each at its own time, so that no two are one run.
    for (std::size_t i = 0; i < flood.count; ++i) kept += queue.Add(answer, kBaud, i * kMs, 0) ? 1 : 0;
    EXPECT_LE(queue.heldBytes(), OutgoingQueue::kLargestQueue) << flood.what;
    EXPECT_LT(kept, flood.count) << flood.what;
    EXPECT_EQ(queue.lostBytes(), (flood.count - kept) * flood.answer) << flood.what << ": an answer is lost whole";

    PcSide pc;
    Serve(queue, pc, flood.count * kMs, flood.count * kMs + 100 * kMs, 4096);
    ASSERT_FALSE(pc.read.empty()) << flood.what;
    bool oldestFirst = true;
    for (std::size_t at = 0; at < pc.read.size() && oldestFirst; ++at) oldestFirst = pc.read[at] == answer[at % answer.size()];
    EXPECT_TRUE(oldestFirst) << flood.what << ": whole answers, the oldest first";
  }
}

TEST(OutgoingQueue, BytesAtAnotherSpeedThanThePcsAreNoise) {
  OutgoingQueue queue;
  PcSide pc;
  ASSERT_TRUE(queue.Add("fiscal memory", kBaud, 0, 0));
  ASSERT_TRUE(queue.Add("0\r", 9600, 0, 0));
  EXPECT_TRUE(queue.SendDue(0, 9600, [&pc](std::string_view bytes) { return pc.Take(bytes); }));
  EXPECT_EQ(pc.waiting, "0\r");
  EXPECT_EQ(queue.lostBytes(), 13u);
}

}  // namespace
}  // namespace korvena::emu
