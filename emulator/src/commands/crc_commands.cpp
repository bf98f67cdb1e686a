// CRC announcement frames: ESC ";CRC;" n NUL announces the check value of the
// command that follows. The device works the value out itself over that
// command, ESC to CR inclusive, and carries the command out only when both
// agree; otherwise it answers "4" and forgets the command.
#include <memory>

#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "korvena/platform/decimal_text.h"

namespace korvena::emu {
namespace {

constexpr std::size_t kLongestCommand = 1 << 16;

// The device's own reflected CRC-8 (polynomial constant 0x8C), kept apart
// from the PC side's so that each checks the other.
uint8_t Crc8(const std::string& bytes) {
  uint8_t crc = 0;
  for (const char c : bytes) {
    crc ^= static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) crc = static_cast<uint8_t>(crc & 1 ? (crc >> 1) ^ 0x8C : crc >> 1);
  }
  return crc;
}

// Holds the announced command until its CR, then checks it.
class AnnouncedCommand final : public InputMode {
 public:
  explicit AnnouncedCommand(int expected) : expected_(expected) {}

  void Receive(Device& device, uint8_t byte) override {
    if (byte == 0x1B) frame_.clear();
    else if (frame_.empty()) return;  // not inside a frame yet
    frame_.push_back(static_cast<char>(byte));
    if (byte == '\r') {
      const std::string frame = std::move(frame_);
      device.SetInputMode(nullptr);
      if (expected_ == Crc8(frame))
        for (const char c : frame) device.ParseCommandByte(static_cast<uint8_t>(c));
      else
        Answer(device, kCrcMismatch);
    } else if (byte == 0 || frame_.size() > kLongestCommand) {
      // A new announcement replaces this one; an endless frame is noise.
      const std::string frame = std::move(frame_);
      device.SetInputMode(nullptr);
      if (byte == 0)
        for (const char c : frame) device.ParseCommandByte(static_cast<uint8_t>(c));
    }
  }

 private:
  int expected_;  // -1: the announcement was unreadable, so no command matches
  std::string frame_;
};

void Announce(Device& device, const Command& command) {
  const std::string& value = command.Arg(0);
  const int expected = static_cast<int>(DecimalDigits(value, 255).value_or(-1));
  device.SetInputMode(std::make_unique<AnnouncedCommand>(expected));
}

}  // namespace

void RegisterCrcCommands(Device& device) { device.Register("CRC", Announce); }

}  // namespace korvena::emu
