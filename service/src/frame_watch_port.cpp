#include "frame_watch_port.h"

namespace korvena::service {

uint8_t FrameWatchPort::Write(const void* bytes, int32_t option, int32_t count) {
  const uint8_t written = inner_.Write(bytes, option, count);
  if (written == 0 || count <= 0) return written;
  const auto* data = static_cast<const char*>(bytes);
  for (int32_t i = 0; i < count; ++i) {
    frame_.push_back(data[i]);
    if (data[i] != '\r' && data[i] != '\0') continue;
    if (watcher) watcher(frame_);
    frame_.clear();
  }
  return written;
}

}  // namespace korvena::service
