#include "korvena/emulator/emulated_port.h"

#include "korvena/platform/tick_clock.h"

namespace korvena::emu {

uint8_t EmulatedPort::Open(int32_t port, int32_t baud) {
  if (port < 1 || port > 20 || (!existingPorts.empty() && existingPorts.count(port) == 0)) return 0;
  open_ = true;
  port_ = port;
  baud_ = baud;
  Flush();
  return 1;
}

uint8_t EmulatedPort::Close() {
  open_ = false;
  return 1;
}

void EmulatedPort::Collect(bool reading) {
  while (device_.HasOutput()) {
    const uint32_t pause = device_.PeekOutput().pauseMs;
    if (pause != 0) {
      // The pause starts once everything before it has been read.
      if (!reading || next_ < incoming_.size()) return;
      if (!pauseStart_) pauseStart_ = clock_.Ticks();
      if (!TickReached(clock_.Ticks(), *pauseStart_ + pause)) return;
      pauseStart_.reset();
    }
    Transmission next = device_.TakeOutput();
    if (static_cast<int32_t>(next.baud) == baud_) incoming_ += next.bytes;
  }
}

uint8_t EmulatedPort::Read(uint8_t& byte) {
  if (open_) {
    Collect(true);
    if (next_ < incoming_.size()) {
      byte = static_cast<uint8_t>(incoming_[next_++]);
      if (next_ == incoming_.size()) {
        incoming_.clear();
        next_ = 0;
      }
      return 1;
    }
  }
  clock_.Advance(step_);
  return 0;
}

bool EmulatedPort::WaitRead(uint32_t ms) {
  for (;;) {
    if (open_) Collect(true);
    if (open_ && next_ < incoming_.size()) return true;
    // Nothing comes but what the device has sent after a pause, once the
    // pause is over; the transmission may still be one at another speed.
    std::optional<uint32_t> due;
    if (open_ && pauseStart_ && device_.HasOutput()) due = *pauseStart_ + device_.PeekOutput().pauseMs;
    const uint32_t before = clock_.Ticks();
    if (!clock_.AdvanceInSteps(step_, ms, due)) return false;
    ms -= clock_.Ticks() - before;
  }
}

uint8_t EmulatedPort::Write(const void* bytes, int32_t option, int32_t count) {
  if (!open_ || count < 0) return 0;
  // Whatever the device had sent before now has arrived on the line already.
  Collect(false);
  device_.Receive(std::string_view(static_cast<const char*>(bytes), static_cast<std::size_t>(count)),
                  static_cast<uint32_t>(baud_));
  return 1;
}

void EmulatedPort::SetPort(int32_t baud) {
  Collect(false);
  baud_ = baud;
  speedsSet_.push_back(baud);
}

void EmulatedPort::Flush() {
  Collect(false);
  incoming_.clear();
  next_ = 0;
}

}  // namespace korvena::emu
