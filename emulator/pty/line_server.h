#pragma once
// Carries bytes between a pseudo-terminal and the device model. With pacing
// on, every byte takes the time it needs on a real line in each direction
// (10 bits at the line rate), so programs see a device as fast as a cable.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>

#include "korvena/emulator/device.h"
#include "korvena/emulator/frame_log.h"
#include "pty_line.h"

namespace korvena::emu {

class LineServer {
 public:
  LineServer(Device& device, PtyLine& line, bool pace) : device_(device), line_(line), pace_(pace) {}

  // Called after the device has taken each batch of input, e.g. to save
  // what the commands in it changed.
  std::function<void()> afterInput;
  // Told every byte that crosses the line, when set.
  FrameLog* log = nullptr;

  // Serves until `stop` becomes true.
  void Run(const std::atomic<bool>& stop);

 private:
  struct OutgoingByte {
    char byte;
    uint32_t baud;
    uint64_t dueNs;  // when its last bit leaves the device
  };

  uint64_t ByteNs(uint32_t baud) const;
  void ReceiveAvailable(uint64_t now);
  void ScheduleOutput(uint64_t readyNs);
  // Writes the bytes that are due; false when the master is full.
  bool SendDue(uint64_t now);

  Device& device_;
  PtyLine& line_;
  bool pace_;
  std::deque<OutgoingByte> outgoing_;
  uint64_t lastArrivalNs_ = 0;
  uint64_t lastDueNs_ = 0;
};

}  // namespace korvena::emu
