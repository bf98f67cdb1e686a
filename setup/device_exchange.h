#pragma once
// The two exchanges every dialog talks to the device through: the info query
// and the set command. Both let the UI process its pending messages first, so
// the window stays alive during long sequences; the exchange guard keeps menu
// commands from starting meanwhile.
#include <functional>
#include <string>
#include <string_view>

#include "connection_state.h"
#include "korvena/link/command_link.h"

namespace korvena::kalibro {

class DeviceExchange {
 public:
  static constexpr int32_t kQueryInfoUnits = 10;
  static constexpr int32_t kSendCommandUnits = 50;

  DeviceExchange(CommandLink& link, const ConnectionState& state, std::function<void()> processPendingMessages)
      : link_(link), state_(state), processPendingMessages_(std::move(processPendingMessages)) {}

  // ESC ";IV;" n CR and its one-line answer; empty when nothing came within
  // 10 x TimeoutUnit.
  std::string QueryInfo(int n);

  // Writes `frame` (complete, CR included), waits up to 50 x TimeoutUnit for
  // the answer and, when it is not "0", queries info 0 and drops that answer.
  // True when the answer was "0"; most callers show effects by reading
  // values again instead.
  bool SendCommand(std::string_view frame);

  // A reply time-out of `units` x TimeoutUnit milliseconds.
  uint32_t Limit(int32_t units) const;

 private:
  CommandLink& link_;
  const ConnectionState& state_;
  std::function<void()> processPendingMessages_;
};

}  // namespace korvena::kalibro
