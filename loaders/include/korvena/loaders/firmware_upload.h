#pragma once
// Sending one firmware image to the boot loader once it has answered: block
// after block, each tried up to 10 times until the boot loader acknowledges
// it, then the end mark. The progress line is redrawn after every send.
#include <cstdint>
#include <optional>
#include <ostream>

#include "korvena/link/clock.h"
#include "korvena/link/port.h"
#include "korvena/loaders/firmware_file.h"

namespace korvena::loaders {

// The block count shown on the progress line: the whole part of size / 128,
// plus 1. The upload sends one block more than that.
inline uint32_t DisplayedBlockCount(uint32_t size) { return size / 128 + 1; }

class FirmwareUpload {
 public:
  static constexpr uint32_t kTriesPerBlock = 10;
  static constexpr int kReplyPolls = 200;
  static constexpr uint32_t kReplyPollMs = 5;
  // The port library's option for blocks and the end mark.
  static constexpr int32_t kBlockWriteOption = 144;
  static constexpr uint32_t kPauseAfterEndMs = 50;

  FirmwareUpload(Port& port, Clock& clock, std::ostream& console) : port_(port), clock_(clock), console_(console) {}

  // True when every block was acknowledged and the end mark went out.
  bool Run(const FirmwareImage& image);

 private:
  // The first byte the boot loader sends within 200 polls, 5 ms apart.
  std::optional<uint8_t> AwaitReply();

  Port& port_;
  Clock& clock_;
  std::ostream& console_;
};

}  // namespace korvena::loaders
