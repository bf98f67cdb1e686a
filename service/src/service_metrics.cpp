#include "korvena/service/service_metrics.h"

#include <cstdio>

namespace korvena::service {
namespace {

constexpr JobState kJobStates[] = {JobState::kAccepted, JobState::kRunning, JobState::kDone, JobState::kFailed,
                                   JobState::kUnknown};
constexpr DeviceState kDeviceStates[] = {DeviceState::kConnecting, DeviceState::kReady,   DeviceState::kBusy,
                                         DeviceState::kLost,       DeviceState::kBlocked, DeviceState::kPaused};

// A label value with backslash, quote and line feed escaped as the format wants.
std::string Quoted(std::string_view value) {
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '\\' || c == '"') quoted.push_back('\\');
    quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return quoted + "\"";
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

void Family(std::string& out, const char* name, const char* type, const char* help) {
  out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

}  // namespace

std::string MetricsText(const FiscalService& service) {
  std::string out;
  // Every state gets a sample, so a rate over a state that emptied reads 0, not nothing.
  Family(out, "korvena_jobs", "gauge", "Jobs the journal holds, by state.");
  const std::vector<std::pair<JobState, int64_t>> counts = service.JobCounts();
  for (const JobState state : kJobStates) {
    int64_t count = 0;
    for (const auto& [s, n] : counts)
      if (s == state) count = n;
    out += "korvena_jobs{state=" + Quoted(JobStateName(state)) + "} " + std::to_string(count) + "\n";
  }

  const std::vector<DeviceView> devices = service.Devices();
  Family(out, "korvena_device_state", "gauge", "1 for the state each device is in, 0 for the others.");
  for (const DeviceView& view : devices)
    for (const DeviceState state : kDeviceStates)
      out += "korvena_device_state{device=" + Quoted(view.id) + ",state=" + Quoted(DeviceStateName(state)) + "} " +
             (view.state == state ? "1" : "0") + "\n";
  Family(out, "korvena_queue_length", "gauge", "Jobs waiting in each device's queue.");
  for (const DeviceView& view : devices)
    out += "korvena_queue_length{device=" + Quoted(view.id) + "} " + std::to_string(view.queueLength) + "\n";

  Family(out, "korvena_exchange_seconds", "histogram", "Time from sending a frame to its answer, or to silence.");
  for (const DeviceView& view : devices) {
    const ExchangeTimes* times = service.ExchangeTimesOf(view.id);
    if (times == nullptr) continue;
    const ExchangeTimes::Snapshot snapshot = times->Read();
    const std::string device = "device=" + Quoted(view.id);
    uint64_t cumulative = 0;
    for (std::size_t i = 0; i < snapshot.buckets.size(); ++i) {
      cumulative += snapshot.buckets[i];
      const std::string le = i < ExchangeTimes::kBounds.size() ? Number(ExchangeTimes::kBounds[i]) : "+Inf";
      out +=
          "korvena_exchange_seconds_bucket{" + device + ",le=" + Quoted(le) + "} " + std::to_string(cumulative) + "\n";
    }
    out += "korvena_exchange_seconds_sum{" + device + "} " + Number(snapshot.sum) + "\n";
    out += "korvena_exchange_seconds_count{" + device + "} " + std::to_string(snapshot.count) + "\n";
  }
  return out;
}

}  // namespace korvena::service
