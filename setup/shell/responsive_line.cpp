#include "shell/responsive_line.h"

#include <algorithm>

#include "korvena/platform/tick_clock.h"

namespace korvena::kalibro {

ResponsiveLine::ResponsiveLine(Port& port, Clock& clock, std::function<void()> processEvents)
    : innerClock_(clock),
      processEvents_(std::move(processEvents)),
      port_(*this, port),
      clock_(*this, clock),
      lastTurn_(clock.Ticks()) {}

void ResponsiveLine::ThrowIfInterrupted() const {
  if (interrupted_) throw SequenceInterrupted();
}

void ResponsiveLine::KeepAlive() {
  ThrowIfInterrupted();
  const uint32_t now = innerClock_.Ticks();
  if (TicksSince(lastTurn_, now) < kEventSliceMs) return;
  lastTurn_ = now;
  if (processEvents_) processEvents_();
  ThrowIfInterrupted();  // the turn may have brought the close request
}

uint8_t ResponsiveLine::LinePort::Open(int32_t port, int32_t baud) {
  line_.KeepAlive();
  return inner_.Open(port, baud);
}

uint8_t ResponsiveLine::LinePort::Read(uint8_t& byte) {
  line_.KeepAlive();
  return inner_.Read(byte);
}

bool ResponsiveLine::LinePort::WaitRead(uint32_t ms) {
  // Waited in slices, so the window has its turn while the device is quiet.
  line_.KeepAlive();
  return inner_.WaitRead(std::min(ms, kEventSliceMs));
}

std::string ResponsiveLine::LinePort::OpenProblem() const { return inner_.OpenProblem(); }

uint8_t ResponsiveLine::LinePort::Write(const void* bytes, int32_t option, int32_t count) {
  line_.ThrowIfInterrupted();
  return inner_.Write(bytes, option, count);
}

void ResponsiveLine::LinePort::SetPort(int32_t baud) {
  line_.ThrowIfInterrupted();
  inner_.SetPort(baud);
}

void ResponsiveLine::LinePort::Flush() {
  line_.ThrowIfInterrupted();
  inner_.Flush();
}

void ResponsiveLine::LineClock::Sleep(uint32_t ms) {
  for (;;) {
    line_.KeepAlive();
    const uint32_t slice = std::min(ms, kEventSliceMs);
    inner_.Sleep(slice);
    ms -= slice;
    if (ms == 0) return;
  }
}

}  // namespace korvena::kalibro
