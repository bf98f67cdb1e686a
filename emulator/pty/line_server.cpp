#include "line_server.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace korvena::emu {
namespace {

constexpr int kIdlePollMs = 50;  // how often an idle server looks at the stop flag

uint64_t NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}

}  // namespace

uint64_t LineServer::ByteNs(uint32_t baud) const {
  return pace_ && baud != 0 ? 10ull * 1000000000ull / baud : 0;
}

void LineServer::ScheduleOutput(uint64_t readyNs) {
  while (device_.HasOutput()) {
    const Transmission transmission = device_.TakeOutput();
    uint64_t due = std::max(readyNs, lastDueNs_) + transmission.pauseMs * 1000000ull;
    for (const char byte : transmission.bytes) {
      due += ByteNs(transmission.baud);
      outgoing_.push_back({byte, transmission.baud, due});
    }
    lastDueNs_ = due;
  }
}

void LineServer::ReceiveAvailable(uint64_t now) {
  char buffer[4096];
  const ssize_t got = read(line_.master(), buffer, sizeof buffer);
  if (got <= 0) return;
  if (log) log->Bytes(FrameLog::Direction::kFromPc, std::string_view(buffer, static_cast<std::size_t>(got)));
  const uint32_t pcBaud = line_.PcBaud();
  for (ssize_t i = 0; i < got; ++i) {
    // A byte has arrived once its last bit has: never before the previous one.
    lastArrivalNs_ = std::max(now, lastArrivalNs_) + ByteNs(pcBaud);
    device_.Receive(static_cast<uint8_t>(buffer[i]), pcBaud);
    ScheduleOutput(lastArrivalNs_);
  }
  if (afterInput) afterInput();
}

bool LineServer::SendDue(uint64_t now) {
  while (!outgoing_.empty() && outgoing_.front().dueNs <= now) {
    // Bytes at a speed the PC side is not set to arrive as noise: lost.
    const uint32_t pcBaud = line_.PcBaud();
    char chunk[4096];
    std::size_t count = 0;
    const uint32_t baud = outgoing_.front().baud;
    while (count < sizeof chunk && count < outgoing_.size() && outgoing_[count].dueNs <= now &&
           outgoing_[count].baud == baud)
      chunk[count] = outgoing_[count].byte, ++count;
    if (baud != pcBaud) {
      outgoing_.erase(outgoing_.begin(), outgoing_.begin() + static_cast<long>(count));
      continue;
    }
    const ssize_t written = write(line_.master(), chunk, count);
    if (written < 0) return errno != EAGAIN && errno != EINTR;
    if (log) log->Bytes(FrameLog::Direction::kToPc, std::string_view(chunk, static_cast<std::size_t>(written)));
    outgoing_.erase(outgoing_.begin(), outgoing_.begin() + written);
    if (static_cast<std::size_t>(written) < count) return false;
  }
  return true;
}

void LineServer::Run(const std::atomic<bool>& stop) {
  bool masterFull = false;
  while (!stop.load()) {
    int timeoutMs = kIdlePollMs;
    if (!outgoing_.empty() && !masterFull) {
      const uint64_t now = NowNs();
      const uint64_t due = outgoing_.front().dueNs;
      timeoutMs = due <= now ? 0 : static_cast<int>(std::min<uint64_t>((due - now + 999999) / 1000000, kIdlePollMs));
    }
    pollfd ready{line_.master(), static_cast<short>(POLLIN | (masterFull ? POLLOUT : 0)), 0};
    poll(&ready, 1, timeoutMs);
    const uint64_t now = NowNs();
    if (ready.revents & POLLIN) ReceiveAvailable(now);
    masterFull = !SendDue(NowNs());
  }
}

}  // namespace korvena::emu
