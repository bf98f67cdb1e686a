#pragma once
// The Port seam bound to the real port library, libkorvena.so.
#include "korvena/link/port.h"

namespace korvena {

class KorvportPort final : public Port {
 public:
  uint8_t Open(int32_t port, int32_t baud) override;
  uint8_t Close() override;
  uint8_t Read(uint8_t& byte) override;
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override;
  void SetPort(int32_t baud) override;
  void Flush() override;
};

}  // namespace korvena
