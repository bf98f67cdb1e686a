#pragma once
// What Kalibro knows about its connection once the start-up has run; every
// menu command builds on it.
#include <cstdint>
#include <string>

namespace korvena::kalibro {

struct ConnectionState {
  uint8_t PortNumber = 1;     // COM port chosen at start-up, 1..10
  int32_t PortBaud = 9600;    // PC-side line speed in use
  int32_t TimeoutUnit = 100;  // base of every reply time-out, ms, 100..5000
  std::string LoginPassword;  // digits typed at start-up; may be empty
  int32_t DeviceVersion = 0;  // the device's version number
};

}  // namespace korvena::kalibro
