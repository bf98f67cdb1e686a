#pragma once
// What the service knows of a device between jobs: its state, identity and
// status values as last read. Requests are answered from it at once, never
// by waiting behind a job on the line.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "korvena/service/receipt_plan.h"

namespace korvena::service {

enum class DeviceState {
  kConnecting,  // not found yet since the start
  kReady,       // connected, nothing to do
  kBusy,        // printing or settling a job
  kLost,        // not answering; the worker keeps looking for it
  kBlocked,     // a job's outcome is unknown: nothing prints until it is resolved
  kPaused,      // handed over for maintenance: the port is closed, jobs wait
};
std::string_view DeviceStateName(DeviceState state);

struct DeviceView {
  std::string id;  // "COM3"
  DeviceState state = DeviceState::kConnecting;
  int32_t baud = 0;
  std::size_t queueLength = 0;
  // Info number -> its answer as the device gave it (bytes of its code page).
  std::map<int, std::string> values;
  std::optional<int64_t> asOf;  // when `values` were last read in full, ms since 1970
  std::optional<VatCoefficients> coefficients;
};

}  // namespace korvena::service
