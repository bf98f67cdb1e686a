#pragma once
// What a session knows about its connection once it has connected and
// logged in; every exchange builds on it.
#include <cstdint>
#include <string>

namespace korvena::session {

struct ConnectionState {
  uint8_t PortNumber = 1;     // COM port, 1..20
  int32_t PortBaud = 9600;    // PC-side line speed in use
  int32_t TimeoutUnit = 100;  // base of every reply time-out, ms, 100..5000
  std::string LoginPassword;  // the service password logged in with; may be empty
  int32_t DeviceVersion = 0;  // the device's version number
};

}  // namespace korvena::session
