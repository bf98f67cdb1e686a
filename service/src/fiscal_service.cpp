#include "korvena/service/fiscal_service.h"

#include <nlohmann/json.hpp>

#include "korvena/operations/invalid_input.h"
#include "korvena/service/job_result.h"
#include "korvena/service/raw_command.h"
#include "korvena/service/receipt_plan.h"
#include "korvena/service/setting_job.h"
#include "korvena/service/slip_plan.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;

// How long a pause or resume request waits for the worker to act on it; a
// longer job is left to finish while the caller polls the device's state.
constexpr uint32_t kPauseWaitMs = 1000;

// The same key on another endpoint (a receipt's body posted as a command)
// is another request, and must not hand out the first one's answer.
bool SameRequest(const JobRecord& job, const std::string& device, std::string_view kind, const Json& body) {
  if (job.device != device || job.kind != kind) return false;
  try {
    return Json::parse(job.request) == body;
  } catch (const Json::exception&) {
    return false;
  }
}

std::string NoCoefficientsYet(const std::string& device) {
  return device + " has not given its VAT coefficients yet";
}

}  // namespace

FiscalService::FiscalService(JobJournal& journal, std::vector<ServiceDevice> devices) : journal_(journal) {
  for (ServiceDevice& device : devices)
    workers_.push_back(std::make_unique<DeviceWorker>(std::move(device.worker), journal_, std::move(device.channel),
                                                      [this](const std::string& key) { Reported(key); }, events_));
}

void FiscalService::Reported(const std::string& key) {
  board_.Report(key);
  if (const std::optional<JobRecord> job = journal_.Find(key)) events_.Job(*job);
}

FiscalService::~FiscalService() { Stop(); }

void FiscalService::Start() {
  for (const auto& worker : workers_) worker->Start();
}

void FiscalService::Stop() {
  for (const auto& worker : workers_) worker->Stop();
}

DeviceWorker* FiscalService::WorkerOf(const std::string& id) const {
  for (const auto& worker : workers_)
    if (worker->id() == id) return worker.get();
  return nullptr;
}

std::vector<DeviceView> FiscalService::Devices() const {
  std::vector<DeviceView> views;
  for (const auto& worker : workers_) views.push_back(worker->View());
  return views;
}

std::optional<DeviceView> FiscalService::Device(const std::string& id) const {
  const DeviceWorker* worker = WorkerOf(id);
  if (worker == nullptr) return std::nullopt;
  return worker->View();
}

bool FiscalService::Settling(const std::string& key) const {
  for (const auto& worker : workers_)
    if (worker->Settling(key)) return true;
  return false;
}

const ExchangeTimes* FiscalService::ExchangeTimesOf(const std::string& id) const {
  const DeviceWorker* worker = WorkerOf(id);
  return worker == nullptr ? nullptr : &worker->exchangeTimes();
}

FiscalService::Submission FiscalService::SubmitReceipt(const std::string& device, const std::string& key,
                                                       const Json& body) {
  return Submit(device, key, body, kReceiptJob, [&](const DeviceView& view) -> std::optional<Submission> {
    try {
      const ReceiptPlan plan(body);
      if (view.coefficients) {
        plan.Check(*view.coefficients);
      } else if (view.state != DeviceState::kLost) {
        // Unchecked, a sale paid short would fail only as a job and take its
        // key; the till is asked to come back once the total can be known.
        return Submission{Submission::kDeviceNotReady, NoCoefficientsYet(device), {}};
      }
    } catch (const operations::InvalidInput& invalid) {
      return Submission{Submission::kInvalid, invalid.what(), {}};
    }
    return std::nullopt;
  });
}

FiscalService::Submission FiscalService::SubmitInvoice(const std::string& device, const std::string& key,
                                                       const Json& body) {
  return Submit(device, key, body, kInvoiceJob, [&](const DeviceView&) -> std::optional<Submission> {
    try {
      // An invoice's arithmetic needs no VAT coefficients: its amount is its total.
      ReceiptPlan(body, ReceiptPlan::Form::kInvoice).Check({});
    } catch (const operations::InvalidInput& invalid) {
      return Submission{Submission::kInvalid, invalid.what(), {}};
    }
    return std::nullopt;
  });
}

FiscalService::Submission FiscalService::SubmitSlip(const std::string& device, const std::string& key,
                                                    std::string_view kind, const Json& body) {
  return Submit(device, key, body, kind, [&](const DeviceView&) -> std::optional<Submission> {
    try {
      SlipPlanOf(kind, body);
    } catch (const operations::InvalidInput& invalid) {
      return Submission{Submission::kInvalid, invalid.what(), {}};
    }
    return std::nullopt;
  });
}

FiscalService::Submission FiscalService::SubmitSetting(const std::string& device, const std::string& key,
                                                       std::string_view name, const Json& body) {
  const std::string kind = SettingJobKind(name);
  const DeviceWorker* worker = WorkerOf(device);
  return Submit(device, key, body, kind, [&](const DeviceView&) -> std::optional<Submission> {
    try {
      CheckSetting(kind, body);
    } catch (const operations::InvalidInput& invalid) {
      return Submission{Submission::kInvalid, invalid.what(), {}};
    }
    if (worker != nullptr && !worker->hasServicePassword())
      return Submission{Submission::kRefused,
                        "settings need the device's service password: give service-password in the configuration "
                        "file",
                        {}};
    return std::nullopt;
  });
}

FiscalService::Submission FiscalService::SubmitCommand(const std::string& device, const std::string& key,
                                                       const Json& body) {
  return Submit(device, key, body, kCommandJob, [&](const DeviceView&) -> std::optional<Submission> {
    const CheckedCommand checked = CheckCommand(body);
    if (checked.kind == CheckedCommand::kTaken) return std::nullopt;
    return Submission{checked.kind == CheckedCommand::kInvalid ? Submission::kInvalid : Submission::kRefused,
                      checked.message, {}};
  });
}

FiscalService::Submission FiscalService::Submit(
    const std::string& device, const std::string& key, const Json& body, std::string_view kind,
    const std::function<std::optional<Submission>(const DeviceView&)>& check) {
  DeviceWorker* worker = WorkerOf(device);
  if (worker == nullptr) return {Submission::kNoSuchDevice, "no device " + device, {}};
  // A key already taken answers for its job, whatever the device is doing now.
  const auto held = [&](const JobRecord& job) -> Submission {
    if (SameRequest(job, device, kind, body)) return {Submission::kJob, {}, job};
    return {Submission::kKeyReused, "the Idempotency-Key " + key + " was used for another request", {}};
  };
  if (const std::optional<JobRecord> job = journal_.Find(key)) return held(*job);

  const DeviceView view = worker->View();
  if (std::optional<Submission> refused = check(view)) return std::move(*refused);
  if (view.state == DeviceState::kLost) return {Submission::kDeviceLost, device + " is not answering", {}};
  if (view.state == DeviceState::kBlocked)
    return {Submission::kDeviceBlocked, device + " waits for a job whose outcome is unknown to be resolved", {}};

  JobRecord job;
  job.key = key;
  job.device = device;
  job.kind = kind;
  job.request = body.dump();
  const JobJournal::Admission admission = journal_.Admit(job);
  if (!admission.added) return held(admission.job);  // another request with the key came first
  events_.Job(admission.job);  // before the worker may start it
  worker->Enqueue(key);
  return {Submission::kJob, {}, admission.job};
}

std::optional<DeviceView> FiscalService::SetPaused(const std::string& id, bool paused) {
  DeviceWorker* worker = WorkerOf(id);
  if (worker == nullptr) return std::nullopt;
  worker->SetPaused(paused, kPauseWaitMs);
  return worker->View();
}

FiscalService::Quote FiscalService::QuoteReceipt(const std::string& device, const Json& body) const {
  const DeviceWorker* worker = WorkerOf(device);
  if (worker == nullptr) return {Quote::kNoSuchDevice, "no device " + device, {}};
  const std::optional<VatCoefficients> coefficients = worker->View().coefficients;
  try {
    // Before payment a till knows no payments: it asks for the total of the lines.
    const bool unpaid = body.is_object() && !body.contains("payments");
    Json priced = body;
    if (unpaid) priced["payments"] = Json::array();
    const ReceiptPlan plan(priced);
    if (!coefficients) return {Quote::kNoCoefficients, NoCoefficientsYet(device), {}};
    return {Quote::kQuoted, {}, unpaid ? plan.Price(*coefficients) : plan.Check(*coefficients)};
  } catch (const operations::InvalidInput& invalid) {
    return {Quote::kInvalid, invalid.what(), {}};
  }
}

FiscalService::Change FiscalService::Resolve(const std::string& key, bool printed) {
  const std::optional<JobRecord> job = journal_.Find(key);
  if (!job) return Change::kNoSuchJob;
  Json result;
  if (printed) {
    result = {{"state", "done"}, {"resolved", "printed"}};
  } else {
    result = JobError("not-printed", "resolved as not printed; the sale needs a new Idempotency-Key");
  }
  if (job->result) {
    try {
      result["evidence"] = Json::parse(*job->result).value("evidence", Json());
    } catch (const Json::exception&) {
    }
  }
  if (!journal_.Move(key, JobState::kUnknown, printed ? JobState::kDone : JobState::kFailed, result.dump()))
    return Change::kWrongState;
  if (DeviceWorker* worker = WorkerOf(job->device)) worker->Wake();
  Reported(key);
  return Change::kDone;
}

FiscalService::Change FiscalService::Cancel(const std::string& key) {
  const std::optional<JobRecord> job = journal_.Find(key);
  if (!job) return Change::kNoSuchJob;
  if (!journal_.Move(key, JobState::kAccepted, JobState::kFailed,
                     JobError("cancelled", "cancelled before it was printed; the sale needs a new Idempotency-Key").dump()))
    return Change::kWrongState;
  if (DeviceWorker* worker = WorkerOf(job->device)) worker->Forget(key);
  Reported(key);
  return Change::kDone;
}

}  // namespace korvena::service
