#pragma once
// A port wired straight to an emulated device, for tests of everything built
// on the link. The device's answers are readable as soon as the command that
// causes them is written; every empty poll advances the virtual clock, and a
// wait advances it by the polls it stands for.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "korvena/emulator/device.h"
#include "korvena/link/port.h"
#include "korvena/link/virtual_clock.h"

namespace korvena::emu {

class EmulatedPort final : public Port {
 public:
  EmulatedPort(Device& device, VirtualClock& clock, uint32_t emptyReadStepMs = 1)
      : device_(device), clock_(clock), step_(emptyReadStepMs) {}

  // COM numbers that can be opened; every number when empty.
  std::set<int32_t> existingPorts;
  bool open() const { return open_; }
  int32_t baud() const { return baud_; }
  int32_t openedPort() const { return port_; }
  // Every speed SetPort was given, in order.
  const std::vector<int32_t>& speedsSet() const { return speedsSet_; }

  uint8_t Open(int32_t port, int32_t baud) override;
  uint8_t Close() override;
  uint8_t Read(uint8_t& byte) override;
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override;
  void SetPort(int32_t baud) override;
  void Flush() override;
  bool WaitRead(uint32_t ms) override;

 private:
  // Moves the device's transmissions into `incoming_`, dropping those sent at
  // a speed the port is not set to. Only a read takes a transmission that
  // comes after a pause: until then the PC may still change its speed.
  void Collect(bool reading);

  Device& device_;
  VirtualClock& clock_;
  uint32_t step_;
  bool open_ = false;
  int32_t port_ = 0;
  int32_t baud_ = 0;
  std::string incoming_;
  std::size_t next_ = 0;
  std::optional<uint32_t> pauseStart_;
  std::vector<int32_t> speedsSet_;
};

}  // namespace korvena::emu
