#include "korvena/protocol/frame_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace korvena::protocol {
namespace {

constexpr uint32_t kDayMs = 24u * 60u * 60u * 1000u;

std::string TimeStamp(uint32_t ms) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", ms / 3600000u, ms / 60000u % 60u, ms / 1000u % 60u,
                ms % 1000u);
  return text;
}

bool EndsFrame(char byte) { return byte == '\r' || byte == '\0'; }

}  // namespace

FrameLog::FrameLog(std::function<void(const std::string& line)> write, std::function<uint32_t()> clock)
    : write_(std::move(write)), clock_(std::move(clock)) {}

void FrameLog::Start(Direction direction, uint32_t now) {
  direction_ = direction;
  line_ = TimeStamp(now) + (direction == Direction::kFromPc ? " PC>  " : " <KV  ");
  bytesInLine_ = 0;
  open_ = true;
}

void FrameLog::Bytes(Direction direction, std::string_view bytes) {
  for (const char byte : bytes) {
    const uint32_t now = clock_();
    const uint32_t sinceLast = (now + kDayMs - lastByteMs_) % kDayMs;
    if (open_ && (direction != direction_ || sinceLast > kPauseMs || bytesInLine_ >= kLongestLine)) Flush();
    if (!open_) Start(direction, now);
    lastByteMs_ = now;
    const auto value = static_cast<unsigned char>(byte);
    if (value >= 0x20 && value < 0x7F && byte != '<') {
      line_.push_back(byte);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02X>", value);
      line_ += hex;
    }
    ++bytesInLine_;
    if (EndsFrame(byte)) Flush();
  }
}

void FrameLog::Flush() {
  if (!open_) return;
  open_ = false;
  if (write_) write_(line_ + "\n");
}

uint32_t LocalTimeOfDayMs() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return static_cast<uint32_t>(((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + ms);
}

}  // namespace korvena::protocol
