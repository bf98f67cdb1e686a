#pragma once
// The result a failed or unknown job carries: {"error": {"code", "message",
// "deviceStatus" when the device refused}}, one shape for every kind of job.
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace korvena::service {

nlohmann::ordered_json JobError(const std::string& code, const std::string& message,
                                std::optional<int> deviceStatus = {});

}  // namespace korvena::service
