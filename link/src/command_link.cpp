#include "korvena/link/command_link.h"

#include <algorithm>

#include "korvena/platform/tick_clock.h"
#include "korvena/protocol/line_rates.h"

namespace korvena {
namespace {

constexpr int kOpenAttempts = 15;
constexpr uint32_t kWaitAfterFailedOpenMs = 200;
constexpr uint32_t kLimitGrowthPerAttemptMs = 20;
// A stream that may be asked to stop looks at its flag this often while the
// line is quiet.
constexpr uint32_t kStopCheckMs = 50;

}  // namespace

std::string CommandLink::ReadResponse(uint32_t limitMs) {
  std::string line;
  const uint32_t start = clock_.Ticks();
  for (;;) {
    uint8_t byte = 0;
    const bool arrived = port_.Read(byte) != 0;
    if (arrived && byte == static_cast<uint8_t>(kCr)) return line;
    if (arrived) line.push_back(static_cast<char>(byte));
    const uint32_t elapsed = TicksSince(start, clock_.Ticks());
    if (line.size() >= kLongestAnswerLine || elapsed > limitMs) return line;
    // A quiet line is waited on, not polled: polling costs a till's CPU for
    // every second a device keeps it waiting.
    if (!arrived) port_.WaitRead(limitMs - elapsed);
  }
}

ByteStream CommandLink::ReadByteStream(const ByteStreamRule& rule,
                                       const std::function<void(std::size_t count)>& onByte) {
  ByteStream stream;
  stream.deadline = clock_.Ticks() + rule.firstByteMs;
  for (;;) {
    if (rule.stop != nullptr && rule.stop->load(std::memory_order_relaxed)) {
      stream.stopped = true;
      return stream;
    }
    uint8_t byte = 0;
    const uint8_t got = port_.Read(byte);
    if (rule.exactlyOne ? got == 1 : got != 0) {
      stream.bytes.push_back(static_cast<char>(byte));
      stream.deadline = clock_.Ticks() + rule.quietMs;
      if (onByte) onByte(stream.bytes.size());
      if (!rule.expected || stream.bytes.size() != *rule.expected) {
        stream.cut = stream.bytes.size() >= rule.cap;
        if (stream.cut) return stream;
      }
    }
    if (rule.expected && stream.bytes.size() == *rule.expected) return stream;
    const uint32_t now = clock_.Ticks();
    if (TickPassed(now, stream.deadline)) return stream;
    const uint32_t rest = stream.deadline - now;
    if (got == 0) port_.WaitRead(rule.stop != nullptr ? std::min(rest, kStopCheckMs) : rest);
  }
}

bool CommandLink::SendText(std::string_view text) {
  for (const char c : text)
    if (port_.Write(&c, 0, 1) == 0) return false;
  return true;
}

bool CommandLink::IdentifyDevice(uint32_t limitMs) {
  if (!SendText(kIdentifyCommand) || ReadResponse(limitMs).empty()) return false;
  if (!SendText(kIdentifyCommand) || ReadResponse(limitMs).empty()) return false;
  return SendText(kIdentifyCommand) && ReadResponse(limitMs) == "0";
}

int32_t CommandLink::FindBaudRate(uint32_t limitMs, OpenObserver* observer) {
  for (const int32_t baud : protocol::kLineRates) {
    if (observer) observer->SearchingAt(baud);
    port_.SetPort(baud);
    if (IdentifyDevice(limitMs)) return baud;
  }
  return 0;
}

OpenOutcome CommandLink::OpenAndIdentify(int32_t port, int32_t baud, uint32_t baseLimitMs, OpenObserver* observer) {
  OpenObserver silent;
  OpenObserver& progress = observer ? *observer : silent;

  bool found = false;
  for (int attempt = 0; attempt < kOpenAttempts && !found; ++attempt) {
    port_.Close();
    if (port_.Open(port, baud) != 0) {
      found = IdentifyDevice(attempt * kLimitGrowthPerAttemptMs + baseLimitMs);
      progress.IdentifyAttempted(attempt);
    } else {
      clock_.Sleep(kWaitAfterFailedOpenMs);
      progress.SleptAfterFailedOpen(attempt);
    }
  }
  if (found) return {OpenOutcome::kIdentified, baud};

  port_.Close();
  // The last open counts only when the port library reports exactly 1.
  const int32_t lastOpen = port_.Open(port, baud);
  const bool opened = lastOpen == 1;
  progress.FinalOpen(opened, baud);
  if (!opened) {
    // Any other non-zero value may still mean the library holds the port.
    if (lastOpen != 0) port_.Close();
    return {OpenOutcome::kCannotOpen, 0};
  }

  if (IdentifyDevice(baseLimitMs * 5)) return {OpenOutcome::kIdentified, baud};
  const int32_t foundBaud = FindBaudRate(baseLimitMs * 5, &progress);
  if (foundBaud != 0) return {OpenOutcome::kIdentifiedBySearch, foundBaud};
  port_.Close();
  return {OpenOutcome::kNotFound, 0};
}

}  // namespace korvena
