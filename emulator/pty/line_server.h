#pragma once
// Carries bytes between a pseudo-terminal and the device model. With pacing
// on, every byte takes the time it needs on a real line in each direction
// (10 bits at the line rate), so programs see a device as fast as a cable.
// What the PC does not take waits or is lost as OutgoingQueue says, and
// when the last program lets go of the line, its unread answers go with it.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "korvena/emulator/device.h"
#include "korvena/protocol/frame_log.h"
#include "outgoing_queue.h"
#include "port_holders.h"
#include "pty_line.h"

namespace korvena::emu {

class LineServer {
 public:
  LineServer(Device& device, PtyLine& line, PortHolders& holders, bool pace)
      : device_(device), line_(line), holders_(holders), pace_(pace) {}

  // Called after the device has taken each batch of input and before the
  // answers to it go out, e.g. to save what the commands in it changed.
  // False when that failed: the answers are not sent (they would tell the PC
  // the change was made) and the server stops.
  std::function<bool()> afterInput;
  // Told every byte that crosses the line, when set.
  protocol::FrameLog* log = nullptr;

  // Serves until `stop` becomes true (true) or afterInput fails (false).
  bool Run(const std::atomic<bool>& stop);

 private:
  uint64_t ByteNs(uint32_t baud) const;
  // Reads what the PC has sent and lets the device act on it; how many
  // bytes that was.
  std::size_t ReceiveAvailable(uint64_t now);
  void ScheduleOutput(const Transmission& transmission, uint64_t readyNs);
  // Writes the bytes that are due; false when the master is full.
  bool SendDue(uint64_t now);
  // The last program has let go of the line.
  void LetGo(uint64_t now);

  Device& device_;
  PtyLine& line_;
  PortHolders& holders_;
  bool pace_;
  OutgoingQueue outgoing_;
  uint64_t lastArrivalNs_ = 0;
  uint64_t lastDueNs_ = 0;
  bool failed_ = false;  // afterInput said no
};

}  // namespace korvena::emu
