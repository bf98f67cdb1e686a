#pragma once
// A port seen as one whose library has only the six calls every port library
// has: no WaitRead, so each wait polls Read as every wait did before the
// library could wait itself. Tests compare the two ways, benchmarks their cost.
#include "korvena/link/port.h"

namespace korvena {

class SixCallPort final : public Port {
 public:
  explicit SixCallPort(Port& inner) : inner_(inner) {}
  uint8_t Open(int32_t port, int32_t baud) override { return inner_.Open(port, baud); }
  uint8_t Close() override { return inner_.Close(); }
  uint8_t Read(uint8_t& byte) override { return inner_.Read(byte); }
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override {
    return inner_.Write(bytes, option, count);
  }
  void SetPort(int32_t baud) override { inner_.SetPort(baud); }
  void Flush() override { inner_.Flush(); }

 private:
  Port& inner_;
};

}  // namespace korvena
