#pragma once
// One connection to the device, for any program: open it and find the
// device, log in, ask for info values, send commands with the service
// program's rules (its time limits, the status query after a refusal), and
// read bulk data with a stop request and progress. Every operation holds
// the session for its whole exchange, so threads may share one session and
// their exchanges never interleave on the line.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "korvena/link/command_link.h"
#include "korvena/session/connection_state.h"
#include "korvena/session/session_failure.h"

namespace korvena::session {

class DeviceSession {
 public:
  // Reply time-outs in time-out units (ConnectionState::TimeoutUnit): an
  // info query, a command, and the short replies of identification, login
  // and the template upload.
  static constexpr int32_t kQueryInfoUnits = 10;
  static constexpr int32_t kSendCommandUnits = 50;
  static constexpr int32_t kShortReplyUnits = 5;

  // `beforeExchange` runs before each info query and command (a window lets
  // its pending messages through there); empty for none.
  DeviceSession(Port& port, Clock& clock, std::function<void()> beforeExchange = {});
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  ConnectionState& state() { return state_; }
  const ConnectionState& state() const { return state_; }
  // Why the last operation that failed did so; cleared by nothing but the next failure.
  const SessionFailure& lastFailure() const { return failure_; }
  Clock& clock() { return link_.clock(); }

  // Opens PortNumber at PortBaud and identifies the device, searching the
  // rates when it does not answer; PortBaud becomes the rate found. False
  // with lastFailure kCannotOpen or kNotFound (the port is closed then).
  bool Connect(OpenObserver* progress = nullptr);
  // TESTPASSWORD with `password`, then the status it left (info 0). True,
  // and LoginPassword set, when the device took it; else kNoAnswer or
  // kWrongPassword.
  bool Login(const std::string& password);
  void Close();

  // ESC ";IV;" n CR and its one-line answer; empty when nothing came within
  // 10 time-out units (lastFailure kNoAnswer then).
  std::string QueryInfo(int n);
  // Writes `frame` (ESC to CR), waits up to 50 time-out units for the
  // answer and, when it is not "0", queries info 0 and drops that answer,
  // as the device wants its status read. True for "0"; else lastFailure
  // says kNoAnswer or kRefused with the status.
  bool SendCommand(std::string_view frame);
  // The answer line of the last SendCommand, as it came.
  const std::string& lastAnswer() const { return lastAnswer_; }
  // Writes `frame` and reads one answer line within `limitMs`, nothing
  // else: no hook first, no status query after a refusal.
  std::string Exchange(std::string_view frame, uint32_t limitMs);
  // Writes `frame` and waits for nothing.
  bool Send(std::string_view frame);
  // One answer line within `limitMs`.
  std::string ReadLine(uint32_t limitMs);
  // Waits `ms` on the session's clock.
  void Wait(uint32_t ms);

  // Switches the PC side of the line to `baud`; PortBaud follows.
  void SetLineSpeed(int32_t baud);
  // Identifies the device at PortBaud, else searches the rates and adopts
  // the rate found as PortBaud. The rate in use; 0 when the device answers
  // at none (PortBaud is then the last rate tried).
  int32_t FindDevice();

  // Bulk data after the command that asked for it: at the bulk rate, up to
  // `expected` bytes, ending after `silenceMs` without a byte, then the
  // device's closing line at PortBaud. `stop` (when set) ends it at the
  // next poll, without the closing line; `progress` hears the count so far.
  ByteStream ReadBulk(uint32_t expected, uint32_t silenceMs, const std::atomic<bool>* stop = nullptr,
                      const std::function<void(std::size_t count)>& progress = {});

  // A reply time-out of `units` time-out units, in milliseconds.
  uint32_t Limit(int32_t units) const;

 private:
  void Fail(SessionFailure::Kind kind, int status = 0, std::string reason = {});

  std::recursive_mutex exchange_;  // one exchange at a time, also for nested calls of one thread
  CommandLink link_;
  std::function<void()> beforeExchange_;
  ConnectionState state_;
  SessionFailure failure_;
  std::string lastAnswer_;
};

}  // namespace korvena::session
