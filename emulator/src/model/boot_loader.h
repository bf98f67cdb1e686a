#pragma once
// The device's firmware boot loader, entered by RESET or at power-on: it
// listens at 115200 baud, answers its processor's connect byte with "C",
// takes XMODEM-CRC blocks (ACK for a good one, NAK for a bad CRC or block
// number) and ends at EOT, when the new firmware starts and the device is
// back at its own line speed.
#include <array>
#include <cstdint>
#include <string>

#include "korvena/emulator/device.h"

namespace korvena::emu {

inline constexpr uint32_t kBootLoaderBaud = 115200;
inline constexpr std::size_t kBootBlockSize = 133;  // SOH, number, complement, 128 data bytes, CRC

// Restarts the device into its boot loader.
void EnterBootLoader(Device& device);

class BootLoader final : public InputMode {
 public:
  void Receive(Device& device, uint8_t byte) override;

 private:
  void TakeBlock(Device& device);
  void Refuse(Device& device);
  void Finish(Device& device);
  // The NAK storm switch: whether this try of the next block is refused.
  bool RefuseThisTry(const Device& device);

  bool connected_ = false;  // "C" was sent; blocks are taken from now on
  std::array<uint8_t, kBootBlockSize> block_{};  // the block being received, from its SOH
  std::size_t received_ = 0;                       // bytes of it so far
  std::string data_;        // data of every block taken so far
  uint8_t expected_ = 1;    // number of the next block
  uint32_t position_ = 1;   // 1-based count of the next block, not wrapping
  uint32_t refusedTries_ = 0;  // of the block at `position_`
};

}  // namespace korvena::emu
