#include "korvena/link/scripted_port.h"

#include "korvena/platform/tick_clock.h"

namespace korvena {

void ScriptedPort::Send(std::string_view bytes) { SendAt(clock_.Ticks(), bytes); }

void ScriptedPort::SendAt(uint32_t at, std::string_view bytes) {
  for (const char c : bytes) incoming_.push_back({at, c});
}

uint8_t ScriptedPort::Open(int32_t port, int32_t baudRate) {
  calls.push_back("Open " + std::to_string(port) + " " + std::to_string(baudRate));
  open = openResult != 0;
  if (open) baud = baudRate;
  return openResult;
}

uint8_t ScriptedPort::Close() {
  calls.push_back("Close");
  open = false;
  return 1;
}

uint8_t ScriptedPort::Read(uint8_t& byte) {
  if (!incoming_.empty() && TickReached(clock_.Ticks(), incoming_.front().at)) {
    byte = static_cast<uint8_t>(incoming_.front().byte);
    incoming_.pop_front();
    return byteResult;
  }
  clock_.Advance(step_);
  ++emptyReads;
  return 0;
}

bool ScriptedPort::WaitRead(uint32_t ms) {
  return clock_.AdvanceInSteps(step_, ms, incoming_.empty() ? std::nullopt : std::optional(incoming_.front().at));
}

uint8_t ScriptedPort::Write(const void* bytes, int32_t option, int32_t count) {
  if (writesBeforeFailure == 0) return 0;
  if (writesBeforeFailure > 0) --writesBeforeFailure;
  const auto* data = static_cast<const char*>(bytes);
  for (int32_t i = 0; i < count; ++i) {
    written.push_back(data[i]);
    frame_.push_back(data[i]);
    if (data[i] == '\r' || data[i] == '\0') {
      const std::string frame = std::move(frame_);
      frame_.clear();
      if (onFrame) onFrame(frame);
    }
  }
  return 1;
}

void ScriptedPort::SetPort(int32_t baudRate) {
  calls.push_back("SetPort " + std::to_string(baudRate));
  baud = baudRate;
}

void ScriptedPort::Flush() {
  calls.push_back("Flush");
  incoming_.clear();
}

}  // namespace korvena
