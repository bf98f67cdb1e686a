#pragma once
// The fiscal service without its HTTP front end: the devices and their
// workers, the journal, and what a request may ask of them. Every answer is
// typed; the front end turns it into a status and a JSON body.
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "korvena/operations/sale_document.h"
#include "korvena/service/device_worker.h"
#include "korvena/service/job_board.h"
#include "korvena/service/job_journal.h"
#include "korvena/service/service_events.h"

namespace korvena::service {

struct ServiceDevice {
  WorkerSettings worker;
  std::unique_ptr<DeviceChannel> channel;
};

class FiscalService {
 public:
  FiscalService(JobJournal& journal, std::vector<ServiceDevice> devices);
  ~FiscalService();
  void Start();
  void Stop();

  std::vector<DeviceView> Devices() const;
  std::optional<DeviceView> Device(const std::string& id) const;

  struct Submission {
    enum Kind {
      kNoSuchDevice,
      kInvalid,
      kRefused,
      kDeviceNotReady,
      kDeviceLost,
      kDeviceBlocked,
      kKeyReused,
      kJob
    } kind = kJob;
    std::string message;
    JobRecord job;  // kJob: the job just accepted, or the one the key already holds
  };
  // Two requests are the same when their bodies are equal as parsed JSON
  // and they name the same device.
  Submission SubmitReceipt(const std::string& device, const std::string& key, const nlohmann::json& body);
  // An invoice paid at the till, {"amount", "text", "payments"}.
  Submission SubmitInvoice(const std::string& device, const std::string& key, const nlohmann::json& body);
  // A cash slip, a report or a copy: a job of `kind` (slip_plan.h).
  Submission SubmitSlip(const std::string& device, const std::string& key, std::string_view kind,
                        const nlohmann::json& body);
  // A setting (setting_job.h) named by its endpoint, "header".
  Submission SubmitSetting(const std::string& device, const std::string& key, std::string_view name,
                           const nlohmann::json& body);
  // A raw command (raw_command.h) as a job of its own, by the same rules.
  Submission SubmitCommand(const std::string& device, const std::string& key, const nlohmann::json& body);

  // The maintenance handover (DeviceWorker::SetPaused): the device's view
  // once paused or resumed, or after a second (busy with the job it finishes
  // first); nothing for no such device. Harmless when repeated.
  std::optional<DeviceView> SetPaused(const std::string& id, bool paused);

  struct Quote {
    enum Kind { kNoSuchDevice, kInvalid, kNoCoefficients, kQuoted } kind = kQuoted;
    std::string message;
    operations::DocumentTotals totals;
  };
  Quote QuoteReceipt(const std::string& device, const nlohmann::json& body) const;

  std::optional<JobRecord> Job(const std::string& key) const { return journal_.Find(key); }
  // True while a worker still settles job `key` (DeviceWorker::Settling).
  bool Settling(const std::string& key) const;
  std::vector<FrameRecord> Frames(const std::string& key) const { return journal_.Frames(key); }
  // The last jobs, the newest first (JobJournal::Latest).
  std::vector<JobRecord> LatestJobs(std::size_t limit, const std::string& device,
                                    const std::vector<std::string>& kinds) const {
    return journal_.Latest(limit, device, kinds);
  }

  enum class Change { kNoSuchJob, kWrongState, kDone };
  // An unknown job settled by a person: printed makes it done, else failed.
  Change Resolve(const std::string& key, bool printed);
  // A job still waiting in its queue is taken out and fails.
  Change Cancel(const std::string& key);

  // What /metrics shows beside the device views: the jobs by state and how
  // long a device's exchanges took (nothing for an unknown id).
  std::vector<std::pair<JobState, int64_t>> JobCounts() const { return journal_.CountByState(); }
  const ExchangeTimes* ExchangeTimesOf(const std::string& id) const;

  JobBoard& board() { return board_; }
  // Every job's and device's change of state, for GET /v1/events.
  ServiceEvents& events() { return events_; }

 private:
  DeviceWorker* WorkerOf(const std::string& id) const;
  // The job changed state: its waiters and the event stream hear of it.
  void Reported(const std::string& key);
  // `check` says what is wrong with the body for the device, or nothing.
  Submission Submit(const std::string& device, const std::string& key, const nlohmann::json& body,
                    std::string_view kind, const std::function<std::optional<Submission>(const DeviceView&)>& check);

  JobJournal& journal_;
  JobBoard board_;
  ServiceEvents events_;  // before the workers, which publish to it until they stop
  std::vector<std::unique_ptr<DeviceWorker>> workers_;
};

}  // namespace korvena::service
