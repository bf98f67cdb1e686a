#include "korvena/service/device_view.h"

namespace korvena::service {

std::string_view DeviceStateName(DeviceState state) {
  switch (state) {
    case DeviceState::kConnecting: return "connecting";
    case DeviceState::kReady: return "ready";
    case DeviceState::kBusy: return "busy";
    case DeviceState::kLost: return "lost";
    case DeviceState::kBlocked: return "blocked";
    case DeviceState::kPaused: return "paused";
  }
  return "lost";
}

}  // namespace korvena::service
