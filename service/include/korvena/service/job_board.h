#pragma once
// Who waits for which job: a request that waits for its receipt registers
// here, and the worker's news of the job (finished, unknown, cancelled,
// resolved) reaches every waiter once. Free of any server: the HTTP front
// end arms its own timer beside it.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace korvena::service {

class JobBoard {
 public:
  using Waiter = std::function<void()>;
  // `waiter` runs once, on the thread that reports the job, unless
  // withdrawn first. Returns its ticket.
  uint64_t Wait(const std::string& key, Waiter waiter);
  // True when the waiter had not run yet (and now never will).
  bool Withdraw(uint64_t ticket);
  void Report(const std::string& key);

 private:
  std::mutex lock_;
  uint64_t next_ = 1;
  std::multimap<std::string, std::pair<uint64_t, Waiter>> waiters_;
};

}  // namespace korvena::service
