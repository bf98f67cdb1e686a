#pragma once
// The device's settings for the service role: header and footer lines, the
// tax identity, the VAT coefficients and the clock, each a job of its own
// through the worker's queue, written with the operations kalibro-cli uses
// after a login with the configured service password, and read back. A
// setting prints nothing and writing it again changes nothing more, so a
// job a crash or a silent device left running simply runs again.
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

#include "korvena/service/device_channel.h"
#include "korvena/service/job_journal.h"

namespace korvena::service {

// The settings by the name their endpoint ends in: /settings/header.
bool IsSettingName(std::string_view name);
// The job kind of a setting, "settings/header", and back.
std::string SettingJobKind(std::string_view name);
bool IsSettingJob(std::string_view kind);

// Checks the body of the setting job `kind` whole; operations::InvalidInput
// naming the field when the device could not take it.
void CheckSetting(std::string_view kind, const nlohmann::json& body);

struct SettingOutcome {
  JobState state = JobState::kDone;
  bool lost = false;  // the device fell silent: the job stays running and runs again once it is back
};
SettingOutcome RunSettingJob(JobJournal& journal, DeviceChannel& channel, const JobRecord& job,
                             const std::string& servicePassword);

}  // namespace korvena::service
