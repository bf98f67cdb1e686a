#pragma once
// A job as the journal keeps it: the request it was accepted with, where it
// stands, what the worker has done so far and what came of it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvena::service {

enum class JobState { kAccepted, kRunning, kDone, kFailed, kUnknown };

std::string_view JobStateName(JobState state);
std::optional<JobState> JobStateNamed(std::string_view name);
// Done or failed: nothing more will happen to it.
inline bool IsFinal(JobState state) { return state == JobState::kDone || state == JobState::kFailed; }

struct JobRecord {
  int64_t seq = 0;  // acceptance order, the queue's order
  std::string key;
  std::string device;
  std::string kind;     // "receipt"
  std::string request;  // the body as parsed JSON, dumped
  JobState state = JobState::kAccepted;
  std::string progress = "{}";        // the worker's record of the document (JSON)
  std::optional<std::string> result;  // JSON, once done, failed or unknown
  int64_t acceptedAt = 0;             // milliseconds since 1970
  std::optional<int64_t> startedAt;
  std::optional<int64_t> finishedAt;
};

// One frame the worker sent, or meant to send, for a job.
struct FrameRecord {
  int64_t n = 0;
  std::string purpose;  // "S", "L2", "K", "GETLDX", "probe", ...
  std::string frame;    // bytes as sent
  std::string outcome;  // "intent" (committed, maybe sent), "answered", "silent"
  std::optional<std::string> answer;
  int64_t at = 0;
};

}  // namespace korvena::service
