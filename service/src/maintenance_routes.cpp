// The service role's routes for a technician: the handover of a device's
// port, its raw commands and its settings. Kept apart from the receipts' routes.
#include <nlohmann/json.hpp>

#include "korvena/service/api_router.h"
#include "korvena/service/api_views.h"

namespace korvena::service {

ApiResponse ApiRouter::Handover(const std::string& device, bool pause) {
  const std::optional<DeviceView> view = service_.SetPaused(device, pause);
  if (!view) return Error(404, "not-found", "no device " + device);
  return {200, {}, DeviceJson(*view).dump()};
}

ApiReply ApiRouter::Command(const ApiRequest& request, const std::string& device) {
  return Submitted(request, "a command", [&](const std::string& key, const nlohmann::json& body) {
    return service_.SubmitCommand(device, key, body);
  });
}

ApiReply ApiRouter::Setting(const ApiRequest& request, const std::string& device, const std::string& name) {
  return Submitted(request, "a setting", [&](const std::string& key, const nlohmann::json& body) {
    return service_.SubmitSetting(device, key, name, body);
  });
}

}  // namespace korvena::service
