// Any bytes from the PC to the emulated device's command side: the frame
// parser, CRC announcements and the commands behind them, with the PC
// changing its line speed now and then. Whatever came before, a device back
// at its own speed must still pass the identification: three info-0 queries,
// the last answered "0".
#include <cstdint>
#include <string>
#include <string_view>

#include "korvena/emulator/device.h"
#include "korvena/link/driver_link.h"

namespace {

using korvena::emu::Device;
using korvena::emu::DeviceSettings;

// 0xFF starts a pair that tells what the PC does next: 0xFF 0xFF sends a
// plain 0xFF, 0xFF 'A' announces the following bytes up to their CR with the
// right check value (random bytes would hardly ever find it), and any other
// second byte picks the PC's line speed.
constexpr uint8_t kPair = 0xFF;
constexpr uint8_t kAnnounce = 'A';
constexpr uint32_t kSpeeds[] = {9600, 19200, 38400, 57600, 115200};

void Drain(Device& device) {
  while (device.HasOutput()) device.TakeOutput();
}

std::string Answer(Device& device, std::string_view bytes) {
  device.Receive(bytes, device.state().baud);
  std::string answer;
  while (device.HasOutput()) answer += device.TakeOutput().bytes;
  return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // As korvena-emu runs it: nothing kept that a long session would pile up.
  Device device(DeviceSettings{.keepHistory = false});
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  uint32_t pcBaud = device.state().baud;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == kPair && i + 1 < size && data[i + 1] != kPair) {
      const uint8_t action = data[++i];
      if (action == kAnnounce) {
        const std::string_view rest = input.substr(i + 1);
        const size_t cr = rest.find('\r');
        device.Receive(korvena::CrcAnnouncement(rest.substr(0, cr == rest.npos ? cr : cr + 1)), pcBaud);
      } else {
        pcBaud = kSpeeds[action % std::size(kSpeeds)];
      }
    } else {
      device.Receive(data[i], pcBaud);
      if (data[i] == kPair) ++i;  // the second byte of 0xFF 0xFF
    }
    Drain(device);
  }
  // In the boot loader the device listens at another speed and to blocks only.
  if (device.state().baud != device.settings().baud) return 0;
  Answer(device, "\x1b;IV;0\r");
  Answer(device, "\x1b;IV;0\r");
  if (Answer(device, "\x1b;IV;0\r") != "0\r") __builtin_trap();
  return 0;
}
