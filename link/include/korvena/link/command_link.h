#pragma once
// The command link: writes command texts byte by byte, reads the device's
// CR-terminated answer lines against a deadline, identifies the device, finds
// its baud rate and runs the open-and-identify sequence. It frames nothing
// itself; callers pass complete command texts (ESC ... CR).
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "korvena/link/clock.h"
#include "korvena/link/port.h"
#include "korvena/protocol/frame.h"

namespace korvena {

using protocol::kCr;
using protocol::kIdentifyCommand;

// An answer line ends here even without its CR: a device that never sends
// one must not take the program's memory. No answer of the device comes near
// it, and a line this long is no number, so callers see an odd answer.
inline constexpr std::size_t kLongestAnswerLine = std::size_t{1} << 20;

// How ReadByteStream waits for the bytes of a bulk transfer (LDX data, an
// SD-card day, the fiscal memory).
struct ByteStreamRule {
  uint32_t firstByteMs = 0;  // waited for the first byte
  uint32_t quietMs = 0;      // waited after each byte for the next
  // Ends the stream as soon as this many bytes have come, compared after
  // every poll (so 0 ends it at the first poll that brings nothing); without
  // it the stream ends only when the line falls quiet.
  std::optional<uint64_t> expected;
  std::size_t cap = 0;  // the stream is cut here, whatever still comes
  // The LDX reader takes a byte only when Read answers exactly 1; the other
  // readers take any non-zero answer, as the port library promises.
  bool exactlyOne = false;
  // Set from another thread to end the stream at its next poll (the program
  // is closing); unused when null.
  const std::atomic<bool>* stop = nullptr;
};

struct ByteStream {
  std::string bytes;
  bool cut = false;       // ended at the cap, not by the device
  bool stopped = false;   // ended by the rule's stop flag
  uint32_t deadline = 0;  // tick at which the line would have counted as quiet
};

// How OpenAndIdentify ended.
struct OpenOutcome {
  enum Kind {
    kIdentified,         // at the rate asked for
    kIdentifiedBySearch,  // at the rate in `baud`, found by the baud search
    kCannotOpen,
    kNotFound,  // no answer at any rate; the port is closed
  };
  Kind kind = kNotFound;
  int32_t baud = 0;  // the rate in use when identified
};

// Progress of OpenAndIdentify, so each program logs or shows it in its own way.
class OpenObserver {
 public:
  virtual ~OpenObserver() = default;
  // Attempt `attempt` (0..14) could not open the port and waited 200 ms.
  virtual void SleptAfterFailedOpen(int attempt) {}
  // Attempt `attempt` opened the port and ran the identification.
  virtual void IdentifyAttempted(int attempt) {}
  // The open after the attempts failed (`opened` false) or succeeded at `baud`.
  virtual void FinalOpen(bool opened, int32_t baud) {}
  // The baud search is about to try `baud`.
  virtual void SearchingAt(int32_t baud) {}
};

class CommandLink {
 public:
  CommandLink(Port& port, Clock& clock) : port_(port), clock_(clock) {}
  virtual ~CommandLink() = default;

  Port& port() { return port_; }
  Clock& clock() { return clock_; }

  // One answer line without its CR; partial or empty when `limitMs` ran out
  // first. The limit counts from the call; arriving bytes do not extend it.
  // A line that reaches kLongestAnswerLine bytes ends there.
  std::string ReadResponse(uint32_t limitMs);

  // Bytes one Read at a time, until `rule` says the stream has ended (and
  // which answers of Read bring a byte). `onByte` (when set) is told the
  // count after each byte, e.g. to show progress.
  ByteStream ReadByteStream(const ByteStreamRule& rule, const std::function<void(std::size_t count)>& onByte = {});

  // Writes `text` one byte per Write call; stops at the first failed write.
  bool SendText(std::string_view text);

  // Three identification exchanges, each answer waited for `limitMs`.
  bool IdentifyDevice(uint32_t limitMs);

  // Tries every line rate (protocol::kLineRates) in order; the rate that answered, or 0 (the port is
  // then left at the last rate of the table).
  int32_t FindBaudRate(uint32_t limitMs, OpenObserver* observer = nullptr);

  // Up to 15 attempts to open `port` at `baud` and identify the device, one
  // more open, then a baud search. `baseLimitMs` is the configured Timeout.
  OpenOutcome OpenAndIdentify(int32_t port, int32_t baud, uint32_t baseLimitMs, OpenObserver* observer = nullptr);

 private:
  Port& port_;
  Clock& clock_;
};

}  // namespace korvena
