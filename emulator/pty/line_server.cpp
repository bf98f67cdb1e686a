#include "line_server.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <utility>
#include <vector>

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

void LineServer::ScheduleOutput(const Transmission& transmission, uint64_t readyNs) {
  const uint64_t byteNs = ByteNs(transmission.baud);
  const uint64_t startNs = std::max(readyNs, lastDueNs_) + transmission.pauseMs * 1000000ull;
  // Bytes that do not fit are lost, but the line was busy with them all the same.
  outgoing_.Add(transmission.bytes, transmission.baud, startNs, byteNs);
  lastDueNs_ = startNs + transmission.bytes.size() * byteNs;
}

std::size_t LineServer::ReceiveAvailable(uint64_t now) {
  char buffer[4096];
  const ssize_t got = read(line_.master(), buffer, sizeof buffer);
  if (got <= 0) return 0;
  if (log) log->Bytes(protocol::FrameLog::Direction::kFromPc, std::string_view(buffer, static_cast<std::size_t>(got)));
  const uint32_t pcBaud = line_.PcBaud();
  std::vector<std::pair<Transmission, uint64_t>> answers;  // each with the time it could start
  for (ssize_t i = 0; i < got; ++i) {
    // A byte has arrived once its last bit has: never before the previous one.
    lastArrivalNs_ = std::max(now, lastArrivalNs_) + ByteNs(pcBaud);
    device_.Receive(static_cast<uint8_t>(buffer[i]), pcBaud);
    while (device_.HasOutput()) answers.emplace_back(device_.TakeOutput(), lastArrivalNs_);
  }
  if (afterInput && !afterInput()) {
    failed_ = true;
    return static_cast<std::size_t>(got);
  }
  for (const auto& [transmission, readyNs] : answers) ScheduleOutput(transmission, readyNs);
  return static_cast<std::size_t>(got);
}

bool LineServer::SendDue(uint64_t now) {
  return outgoing_.SendDue(now, line_.PcBaud(), [this](std::string_view bytes) -> std::size_t {
    const ssize_t written = write(line_.master(), bytes.data(), bytes.size());
    if (written <= 0) return 0;
    if (log) log->Bytes(protocol::FrameLog::Direction::kToPc, bytes.substr(0, static_cast<std::size_t>(written)));
    return static_cast<std::size_t>(written);
  });
}

void LineServer::LetGo(uint64_t now) {
  // What the program sent before it went had reached the device, as it
  // would over a cable; the answers to it are nobody's.
  while (!failed_ && ReceiveAvailable(now) > 0) {
  }
  outgoing_.Clear();
  device_.DiscardOutput();
  line_.LetGo();
}

bool LineServer::Run(const std::atomic<bool>& stop) {
  bool masterFull = false;
  while (!stop.load() && !failed_) {
    int timeoutMs = kIdlePollMs;
    if (!outgoing_.empty() && !masterFull) {
      const uint64_t now = NowNs();
      const uint64_t due = outgoing_.NextDueNs();
      timeoutMs = due <= now ? 0 : static_cast<int>(std::min<uint64_t>((due - now + 999999) / 1000000, kIdlePollMs));
    }
    pollfd ready[] = {{line_.master(), static_cast<short>(POLLIN | (masterFull ? POLLOUT : 0)), 0},
                      {holders_.fd(), POLLIN, 0}};
    poll(ready, 2, timeoutMs);
    const uint64_t now = NowNs();
    if (ready[0].revents & POLLIN) ReceiveAvailable(now);
    if ((ready[1].revents & POLLIN) && holders_.LastLetGo()) LetGo(now);
    if (failed_) break;
    masterFull = !SendDue(NowNs());
  }
  return !failed_;
}

}  // namespace korvena::emu
