#pragma once
// A port that passes everything through and tells its watcher each frame
// once the frame's last byte (CR, or NUL for an announcement) is written:
// the moment a frame has been sent but not yet answered.
#include <functional>
#include <string>
#include <string_view>

#include "korvena/link/pass_through_port.h"

namespace korvena::service {

class FrameWatchPort final : public PassThroughPort {
 public:
  explicit FrameWatchPort(Port& inner) : PassThroughPort(inner) {}
  std::function<void(std::string_view frame)> watcher;

  uint8_t Write(const void* bytes, int32_t option, int32_t count) override;

 private:
  std::string frame_;
};

}  // namespace korvena::service
