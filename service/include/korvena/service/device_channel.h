#pragma once
// What a worker needs of its device: exchanges that say whether anything
// came back at all (a silent device and a bare CR are different things
// here), info queries, the LDX data of the last printout, and the
// connection itself. DriverChannel is the one over a port; tests may wrap it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "korvena/link/clock.h"
#include "korvena/link/port.h"
#include "korvena/service/exchange_times.h"

namespace korvena::session {
class DeviceSession;
}

namespace korvena::service {

struct LineAnswer {
  std::string line;     // without its CR
  bool silent = false;  // nothing, not even a CR, came within the limit
};

class DeviceChannel {
 public:
  virtual ~DeviceChannel() = default;
  // Opens the port and finds the device as the driver does (its attempts,
  // then the baud search). False when the device is not there.
  virtual bool Connect() = 0;
  virtual void Close() = 0;
  // The line speed in use once connected.
  virtual int32_t baud() const = 0;
  // Writes `frame` and reads one answer line within `limitMs`.
  virtual LineAnswer Exchange(std::string_view frame, uint32_t limitMs) = 0;
  // Info value `n`; nothing when the device was silent.
  virtual std::optional<std::string> QueryInfo(int n) = 0;
  // GETLDX: the last printout's LDX data without its two sum bytes; nothing
  // when none came.
  virtual std::optional<std::string> FetchLdx() = 0;
  // The session under the exchanges, for the settings operations that
  // kalibro-cli shares; nothing for a line that has none.
  virtual session::DeviceSession* session() { return nullptr; }
  // Told each frame once its last byte has been written.
  std::function<void(std::string_view frame)> onFrameWritten;
  // Each exchange's time, from the first byte written to the answer's end.
  ExchangeTimes exchangeTimes;
};

struct DriverChannelSettings {
  int port = 1;               // COM n
  int32_t timeoutMs = 100;    // the driver's Timeout, T
  std::string settingsPath;   // the driver's settings file for this port, written at each connect
};

// The channel over `port` and `clock`: the driver's start for connecting
// and its GETLDX fetch, a device session for the exchanges.
std::unique_ptr<DeviceChannel> MakeDriverChannel(Port& port, Clock& clock, const DriverChannelSettings& settings);

}  // namespace korvena::service
