#pragma once
// The device's bytes on their way to the PC. A real device sends at the line
// rate whether or not the PC reads, and what the PC does not take is lost; a
// pseudo-terminal instead holds some kilobytes and then refuses more, so the
// rest waits here, under the rules of a line:
//
//  - bytes wait as long as the PC keeps taking some, however slowly, so a
//    reader that keeps reading loses nothing;
//  - once the PC has taken nothing for kStallNs while bytes were due, those
//    bytes are lost, and so is every byte that falls due until it takes one
//    again, as on a line whose PC has stopped listening;
//  - an answer that would take the queue past kLargestQueue bytes is lost
//    whole;
//  - bytes sent at a speed the PC side is not set to are noise: lost.
//
// Times are nanoseconds of any clock that only goes forward.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvena::emu {

class OutgoingQueue {
 public:
  // How long a PC may take nothing before what waits for it is lost.
  static constexpr uint64_t kStallNs = 10'000'000'000ull;
  // Twice the largest fiscal memory read-out, which comes as one answer.
  static constexpr std::size_t kLargestQueue = 32u << 20;

  // Queues `bytes` sent at `baud`: the first leaves at `startNs`, and each
  // takes `byteNs` on the line (0: all are there at once). False when they
  // did not fit and are lost.
  bool Add(std::string_view bytes, uint32_t baud, uint64_t startNs, uint64_t byteNs);

  // Hands the bytes that are due at `now` to `write`, which answers how many
  // the PC side (set to `pcBaud`) took. False when it took fewer than it was
  // offered: the PC side is full.
  using Write = std::function<std::size_t(std::string_view bytes)>;
  bool SendDue(uint64_t now, uint32_t pcBaud, const Write& write);

  bool empty() const { return runs_.empty(); }
  // When the next byte is due; only while !empty().
  uint64_t NextDueNs() const;
  // What the queue holds, its bookkeeping included.
  std::size_t heldBytes() const { return held_; }
  // Every byte lost so far, to a stall, to the size limit or as noise.
  uint64_t lostBytes() const { return lost_; }
  // Drops everything: nobody is there to take it.
  void Clear();

 private:
  // Bytes that follow one another on the line at one speed.
  struct Run {
    std::string bytes;
    std::size_t sent = 0;  // taken by the PC or lost
    uint32_t baud = 0;
    uint64_t startNs = 0;
    uint64_t byteNs = 0;
  };
  static std::size_t DueCount(const Run& run, uint64_t now);
  void PopFront();
  void DropDue(uint64_t now);

  std::deque<Run> runs_;
  std::size_t held_ = 0;
  uint64_t lost_ = 0;
  std::optional<uint64_t> stalledSinceNs_;  // since the PC last refused, while it took nothing
};

}  // namespace korvena::emu
