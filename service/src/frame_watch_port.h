#pragma once
// A port that passes everything through and tells its watcher each frame
// once the frame's last byte (CR, or NUL for an announcement) is written:
// the moment a frame has been sent but not yet answered.
#include <functional>
#include <string>
#include <string_view>

#include "korvena/link/port.h"

namespace korvena::service {

class FrameWatchPort final : public Port {
 public:
  explicit FrameWatchPort(Port& inner) : inner_(inner) {}
  std::function<void(std::string_view frame)> watcher;

  uint8_t Open(int32_t port, int32_t baud) override { return inner_.Open(port, baud); }
  uint8_t Close() override { return inner_.Close(); }
  uint8_t Read(uint8_t& byte) override { return inner_.Read(byte); }
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override;
  void SetPort(int32_t baud) override { inner_.SetPort(baud); }
  void Flush() override { inner_.Flush(); }
  bool WaitRead(uint32_t ms) override { return inner_.WaitRead(ms); }
  std::string OpenProblem() const override { return inner_.OpenProblem(); }

 private:
  Port& inner_;
  std::string frame_;
};

}  // namespace korvena::service
