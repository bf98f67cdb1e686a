#pragma once
// A port of its own for each device: the port library keeps one line per
// process, so the service holds each device's line itself, through the
// same serial code the library is built from.
#include <string>

#include "korvena/link/port.h"
#include "serial_port.h"

namespace korvena::service {

class SerialLinePort final : public Port {
 public:
  uint8_t Open(int32_t port, int32_t baud) override { return line_.Open(port, baud) ? 1 : 0; }
  uint8_t Close() override { return line_.Close() ? 1 : 0; }
  uint8_t Read(uint8_t& byte) override { return line_.ReadByte(byte) ? 1 : 0; }
  uint8_t Write(const void* bytes, int32_t, int32_t count) override {
    return count >= 0 && line_.WriteBytes(static_cast<const uint8_t*>(bytes), static_cast<std::size_t>(count)) ? 1 : 0;
  }
  void SetPort(int32_t baud) override { line_.SetSpeed(baud); }
  void Flush() override { line_.DiscardInput(); }
  bool WaitRead(uint32_t ms) override { return line_.WaitForByte(ms); }
  std::string OpenProblem() const override { return line_.openProblem(); }

 private:
  SerialPort line_;
};

}  // namespace korvena::service
