#include "frame_logging_port.h"

#include <utility>

#include "korvena/protocol/frame.h"

namespace korvena::service {

using Direction = protocol::FrameLog::Direction;

std::string MaskedFrame(std::string frame, std::string_view secret) {
  if (secret.empty()) return frame;
  constexpr std::string_view kMask = "***";
  for (std::size_t at = frame.find(secret); at != std::string::npos; at = frame.find(secret, at + kMask.size()))
    frame.replace(at, secret.size(), kMask);
  return frame;
}

FrameLoggingPort::FrameLoggingPort(Port& inner, std::function<void(const std::string& line)> writeLine,
                                   std::string password, std::function<uint32_t()> clock)
    : PassThroughPort(inner), password_(std::move(password)), log_(std::move(writeLine), std::move(clock)) {}

FrameLoggingPort::~FrameLoggingPort() {
  LogWritten();
  log_.Flush();
}

uint8_t FrameLoggingPort::Close() {
  // The last answer shows now, not when the line is next used.
  LogWritten();
  log_.Flush();
  return inner_.Close();
}

uint8_t FrameLoggingPort::Read(uint8_t& byte) {
  const uint8_t got = inner_.Read(byte);
  if (got == 0) return got;
  // A byte read while a written frame is still open: the written bytes crossed first.
  LogWritten();
  const char read = static_cast<char>(byte);
  log_.Bytes(Direction::kToPc, std::string_view(&read, 1));
  return got;
}

uint8_t FrameLoggingPort::Write(const void* bytes, int32_t option, int32_t count) {
  const uint8_t written = inner_.Write(bytes, option, count);
  if (written == 0 || count <= 0) return written;
  const auto* data = static_cast<const char*>(bytes);
  for (int32_t i = 0; i < count; ++i) {
    written_.push_back(data[i]);
    if (data[i] == protocol::kCr || data[i] == protocol::kNul) LogWritten();
  }
  return written;
}

void FrameLoggingPort::LogWritten() {
  if (written_.empty()) return;
  log_.Bytes(Direction::kFromPc, MaskedFrame(std::move(written_), password_));
  written_.clear();
}

}  // namespace korvena::service
