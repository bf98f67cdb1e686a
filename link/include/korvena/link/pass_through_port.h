#pragma once
// A port that hands every call to another: a wrapper on a line (the
// service's frame watch and frame log, a test's port of fewer calls)
// overrides only the calls it changes.
#include <cstdint>
#include <string>

#include "korvena/link/port.h"

namespace korvena {

class PassThroughPort : public Port {
 public:
  explicit PassThroughPort(Port& inner) : inner_(inner) {}

  uint8_t Open(int32_t port, int32_t baud) override { return inner_.Open(port, baud); }
  uint8_t Close() override { return inner_.Close(); }
  uint8_t Read(uint8_t& byte) override { return inner_.Read(byte); }
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override {
    return inner_.Write(bytes, option, count);
  }
  void SetPort(int32_t baud) override { inner_.SetPort(baud); }
  void Flush() override { inner_.Flush(); }
  bool WaitRead(uint32_t ms) override { return inner_.WaitRead(ms); }
  std::string OpenProblem() const override { return inner_.OpenProblem(); }

 protected:
  Port& inner_;
};

}  // namespace korvena
