#pragma once
// The bytes on the line as a person reads them: one frame per line, with the
// time it began and its direction, printable bytes as they are and the others
// as <hex>. A frame ends with its CR (or NUL, which ends a CRC announcement),
// when the direction turns, or after a pause, so a stream of data still comes
// out in lines:
//
//   14:03:07.412 PC>  <1B>;IV;5<0D>
//   14:03:07.415 <KV  KORVENA.2010 v13.022 SK<0D>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvena::protocol {

class FrameLog {
 public:
  enum class Direction { kFromPc, kToPc };

  // `write` takes each finished line, its line end included; `clock` gives
  // the local time of day in milliseconds since midnight.
  FrameLog(std::function<void(const std::string& line)> write, std::function<uint32_t()> clock);
  ~FrameLog() { Flush(); }

  void Bytes(Direction direction, std::string_view bytes);
  // Ends the frame in progress.
  void Flush();

  // A frame longer than this is cut into several lines.
  static constexpr std::size_t kLongestLine = 256;
  // Bytes after a pause this long start a new line.
  static constexpr uint32_t kPauseMs = 50;

 private:
  void Start(Direction direction, uint32_t now);

  std::function<void(const std::string&)> write_;
  std::function<uint32_t()> clock_;
  std::string line_;
  std::size_t bytesInLine_ = 0;
  Direction direction_ = Direction::kFromPc;
  uint32_t lastByteMs_ = 0;
  bool open_ = false;
};

// Milliseconds since local midnight, for the log's time stamps.
uint32_t LocalTimeOfDayMs();

}  // namespace korvena::protocol
