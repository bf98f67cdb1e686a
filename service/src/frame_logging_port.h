#pragma once
// A port that copies every byte crossing it into a frame log: what the
// service writes ("PC>") and what it reads ("<KV"), the connect's baud
// search and GETLDX's bulk data included. The driver writes a frame a byte
// at a time, so written bytes are held until their frame ends; only then is
// each occurrence of the service password in it shown as "***" and the
// frame logged. The worker's thread alone uses a device's port.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "korvena/protocol/frame_log.h"
#include "korvena/link/pass_through_port.h"

namespace korvena::service {

class FrameLoggingPort final : public PassThroughPort {
 public:
  // `writeLine` takes each finished line of the log; `password` (when not
  // empty) never reaches it from a frame written.
  FrameLoggingPort(Port& inner, std::function<void(const std::string& line)> writeLine, std::string password,
                   std::function<uint32_t()> clock = protocol::LocalTimeOfDayMs);
  ~FrameLoggingPort() override;

  uint8_t Close() override;
  uint8_t Read(uint8_t& byte) override;
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override;

 private:
  // Logs the bytes written since the last frame, the password masked.
  void LogWritten();

  std::string password_;
  std::string written_;
  protocol::FrameLog log_;
};

// `frame` with every occurrence of `secret` replaced by "***".
std::string MaskedFrame(std::string frame, std::string_view secret);

}  // namespace korvena::service
