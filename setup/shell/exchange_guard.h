#pragma once
// Keeps two exchange sequences off the port at once. The exchanges let the
// UI process its messages (so the window repaints during long sequences),
// which would let the technician start a second menu command in the middle
// of the first. Every sequence - start-up, display build, refresh, each menu
// command - holds an ExchangeScope; while one is held no other may start,
// and the owner greys its menu bar through `onBusyChanged`.
#include <functional>

namespace korvena::kalibro {

class ExchangeGuard {
 public:
  bool busy() const { return depth_ > 0; }
  // Told true when the first scope is taken and false when the last ends.
  std::function<void(bool busy)> onBusyChanged;

 private:
  friend class ExchangeScope;
  void Enter();
  void Leave();
  int depth_ = 0;
};

class ExchangeScope {
 public:
  explicit ExchangeScope(ExchangeGuard& guard) : guard_(guard) { guard_.Enter(); }
  ~ExchangeScope() { guard_.Leave(); }
  ExchangeScope(const ExchangeScope&) = delete;
  ExchangeScope& operator=(const ExchangeScope&) = delete;

 private:
  ExchangeGuard& guard_;
};

}  // namespace korvena::kalibro
