#pragma once
// The JSON the API shows for devices, their status and jobs: texts in
// UTF-8, times in ISO 8601 (UTC).
#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

#include "korvena/service/device_view.h"
#include "korvena/service/job_record.h"

namespace korvena::service {

std::string IsoTime(int64_t ms);

// {id, state, baud, version, serialNumber, dkp, dic, queueLength}
nlohmann::ordered_json DeviceJson(const DeviceView& view);
// The status display's values by their names, register flags as names
// (the fault flags among them), with asOf.
nlohmann::ordered_json StatusJson(const DeviceView& view);
// The job: key, device, kind, state, request, result, times; with the frames of a
// job whose outcome is unknown, as its evidence.
nlohmann::ordered_json JobJson(const JobRecord& job, const std::vector<FrameRecord>& frames = {});

}  // namespace korvena::service
