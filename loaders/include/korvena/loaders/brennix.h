#pragma once
// Brennix's run: optionally restart the device, wake its boot loader with
// the connect byte of each processor in turn, send the matching image from
// the firmware file and tell on the console how it went. The port, clock and
// console are seams, so tests run it against an emulated device.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "korvena/link/loader_link.h"
#include "korvena/loaders/brennix_settings.h"
#include "korvena/loaders/firmware_file.h"

namespace korvena::loaders {

class Brennix {
 public:
  static constexpr int32_t kRestartBaud = 9600;
  static constexpr int32_t kBootLoaderBaud = 115200;
  static constexpr uint32_t kResetAnswerLimitMs = 3500;
  static constexpr uint8_t kMega1281Connect = 102;
  static constexpr uint8_t kMega128Connect = 100;
  static constexpr uint32_t kWakePauseMs = 100;
  static constexpr uint32_t kLastWakeCounter = 41;  // 40 passes, counted from 2
  static constexpr uint32_t kPauseBeforeCloseMs = 250;

  Brennix(Port& port, Clock& clock, std::ostream& console) : port_(port), link_(port, clock), console_(console) {}

  // Everything after the settings; the firmware file is read from `firmwarePath`.
  void Run(const BrennixSettings& settings, const std::string& firmwarePath);

 private:
  void Restart(uint8_t port);
  // True when the boot loader answered `connectByte` with "C".
  bool WakeBootLoader(uint8_t connectByte);
  void ConnectAndUpload(const FirmwareFile& firmware);

  Port& port_;
  LoaderLink link_;
  std::ostream& console_;
};

// The whole program from its configuration file and arguments (without the
// program name); the process exit status, always 0.
int RunBrennix(const std::string& iniPath, const std::vector<std::string>& arguments, const std::string& firmwarePath,
               Port& port, Clock& clock, std::ostream& console);

}  // namespace korvena::loaders
