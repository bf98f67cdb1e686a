#include "korvena/service/job_result.h"

namespace korvena::service {

nlohmann::ordered_json JobError(const std::string& code, const std::string& message, std::optional<int> deviceStatus) {
  nlohmann::ordered_json error = {{"code", code}, {"message", message}};
  if (deviceStatus) error["deviceStatus"] = *deviceStatus;
  return {{"error", error}};
}

}  // namespace korvena::service
