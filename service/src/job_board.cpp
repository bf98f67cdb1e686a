#include "korvena/service/job_board.h"

#include <vector>

namespace korvena::service {

uint64_t JobBoard::Wait(const std::string& key, Waiter waiter) {
  const std::lock_guard<std::mutex> hold(lock_);
  const uint64_t ticket = next_++;
  waiters_.emplace(key, std::make_pair(ticket, std::move(waiter)));
  return ticket;
}

bool JobBoard::Withdraw(uint64_t ticket) {
  const std::lock_guard<std::mutex> hold(lock_);
  for (auto it = waiters_.begin(); it != waiters_.end(); ++it) {
    if (it->second.first != ticket) continue;
    waiters_.erase(it);
    return true;
  }
  return false;
}

void JobBoard::Report(const std::string& key) {
  std::vector<Waiter> due;
  {
    const std::lock_guard<std::mutex> hold(lock_);
    const auto [first, last] = waiters_.equal_range(key);
    for (auto it = first; it != last; ++it) due.push_back(std::move(it->second.second));
    waiters_.erase(first, last);
  }
  // Outside the lock: a waiter may wait again or withdraw another.
  for (Waiter& waiter : due) waiter();
}

}  // namespace korvena::service
