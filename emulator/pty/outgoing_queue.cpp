#include "outgoing_queue.h"

#include <algorithm>

namespace korvena::emu {

std::size_t OutgoingQueue::DueCount(const Run& run, uint64_t now) {
  if (now < run.startNs) return 0;
  if (run.byteNs == 0) return run.bytes.size();
  return static_cast<std::size_t>(std::min<uint64_t>(run.bytes.size(), (now - run.startNs) / run.byteNs));
}

bool OutgoingQueue::Add(std::string_view bytes, uint32_t baud, uint64_t startNs, uint64_t byteNs) {
  if (bytes.empty()) return true;
  // A run that has begun to go out is not grown: its sent bytes stay in
  // memory until its last one has gone.
  Run* last = runs_.empty() ? nullptr : &runs_.back();
  const bool follows = last != nullptr && last->sent == 0 && last->baud == baud && last->byteNs == byteNs &&
                       last->startNs + last->bytes.size() * byteNs == startNs;
  const std::size_t cost = bytes.size() + (follows ? 0 : sizeof(Run));
  if (held_ + cost > kLargestQueue) {
    lost_ += bytes.size();
    return false;
  }
  held_ += cost;
  if (follows)
    last->bytes.append(bytes);
  else
    runs_.push_back(Run{std::string(bytes), 0, baud, startNs, byteNs});
  return true;
}

uint64_t OutgoingQueue::NextDueNs() const {
  const Run& run = runs_.front();
  return run.startNs + (run.sent + 1) * run.byteNs;
}

void OutgoingQueue::PopFront() {
  held_ -= runs_.front().bytes.size() + sizeof(Run);
  runs_.pop_front();
}

void OutgoingQueue::DropDue(uint64_t now) {
  while (!runs_.empty()) {
    Run& run = runs_.front();
    const std::size_t due = DueCount(run, now);
    if (due > run.sent) {
      lost_ += due - run.sent;
      run.sent = due;
    }
    if (run.sent < run.bytes.size()) return;
    PopFront();
  }
}

bool OutgoingQueue::SendDue(uint64_t now, uint32_t pcBaud, const Write& write) {
  while (!runs_.empty()) {
    Run& run = runs_.front();
    const std::size_t due = DueCount(run, now);
    if (due <= run.sent) return true;
    const std::size_t offered = due - run.sent;
    if (run.baud != pcBaud) {
      lost_ += offered;
      run.sent = due;
    } else {
      const std::size_t taken = std::min(offered, write(std::string_view(run.bytes).substr(run.sent, offered)));
      run.sent += taken;
      if (taken > 0) stalledSinceNs_.reset();
      if (taken < offered) {
        if (!stalledSinceNs_) stalledSinceNs_ = now;
        if (now - *stalledSinceNs_ >= kStallNs) DropDue(now);
        return false;
      }
    }
    if (run.sent == run.bytes.size()) PopFront();
  }
  return true;
}

void OutgoingQueue::Clear() {
  for (const Run& run : runs_) lost_ += run.bytes.size() - run.sent;
  runs_.clear();
  held_ = 0;
  stalledSinceNs_.reset();
}

}  // namespace korvena::emu
