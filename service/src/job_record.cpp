#include "korvena/service/job_record.h"

#include <array>
#include <utility>

namespace korvena::service {
namespace {

constexpr std::array<std::pair<JobState, std::string_view>, 5> kNames = {{
    {JobState::kAccepted, "accepted"},
    {JobState::kRunning, "running"},
    {JobState::kDone, "done"},
    {JobState::kFailed, "failed"},
    {JobState::kUnknown, "unknown"},
}};

}  // namespace

std::string_view JobStateName(JobState state) {
  for (const auto& [s, name] : kNames)
    if (s == state) return name;
  return "unknown";
}

std::optional<JobState> JobStateNamed(std::string_view name) {
  for (const auto& [s, n] : kNames)
    if (n == name) return s;
  return std::nullopt;
}

}  // namespace korvena::service
