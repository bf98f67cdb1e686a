#include "korvena/service/fiscal_service.h"

#include <nlohmann/json.hpp>

#include "korvena/operations/invalid_input.h"
#include "korvena/service/receipt_plan.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;

bool SameRequest(const JobRecord& job, const std::string& device, const Json& body) {
  if (job.device != device) return false;
  try {
    return Json::parse(job.request) == body;
  } catch (const Json::exception&) {
    return false;
  }
}

std::string ErrorResult(const std::string& code, const std::string& message) {
  return Json{{"error", {{"code", code}, {"message", message}}}}.dump();
}

}  // namespace

FiscalService::FiscalService(JobJournal& journal, std::vector<ServiceDevice> devices) : journal_(journal) {
  for (ServiceDevice& device : devices)
    workers_.push_back(std::make_unique<DeviceWorker>(std::move(device.worker), journal_, std::move(device.channel),
                                                      [this](const std::string& key) { board_.Report(key); }));
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

FiscalService::Submission FiscalService::SubmitReceipt(const std::string& device, const std::string& key,
                                                       const Json& body) {
  DeviceWorker* worker = WorkerOf(device);
  if (worker == nullptr) return {Submission::kNoSuchDevice, "no device " + device, {}};
  // A key already taken answers for its job, whatever the device is doing now.
  const auto held = [&](const JobRecord& job) -> Submission {
    if (SameRequest(job, device, body)) return {Submission::kJob, {}, job};
    return {Submission::kKeyReused, "the Idempotency-Key " + key + " was used for another request", {}};
  };
  if (const std::optional<JobRecord> job = journal_.Find(key)) return held(*job);

  const DeviceView view = worker->View();
  try {
    const ReceiptPlan plan(body);
    if (view.coefficients) plan.Check(*view.coefficients);
  } catch (const operations::InvalidInput& invalid) {
    return {Submission::kInvalid, invalid.what(), {}};
  }
  if (view.state == DeviceState::kLost) return {Submission::kDeviceLost, device + " is not answering", {}};
  if (view.state == DeviceState::kBlocked)
    return {Submission::kDeviceBlocked, device + " waits for a job whose outcome is unknown to be resolved", {}};

  JobRecord job;
  job.key = key;
  job.device = device;
  job.kind = "receipt";
  job.request = body.dump();
  const JobJournal::Admission admission = journal_.Admit(job);
  if (!admission.added) return held(admission.job);  // another request with the key came first
  worker->Enqueue(key);
  return {Submission::kJob, {}, admission.job};
}

FiscalService::Quote FiscalService::QuoteReceipt(const std::string& device, const Json& body) const {
  const DeviceWorker* worker = WorkerOf(device);
  if (worker == nullptr) return {Quote::kNoSuchDevice, "no device " + device, {}};
  const std::optional<VatCoefficients> coefficients = worker->View().coefficients;
  try {
    const ReceiptPlan plan(body);
    if (!coefficients) return {Quote::kNoCoefficients, device + " has not given its VAT coefficients yet", {}};
    return {Quote::kQuoted, {}, plan.Check(*coefficients)};
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
    result = Json::parse(ErrorResult("not-printed", "resolved as not printed; the sale needs a new Idempotency-Key"));
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
  board_.Report(key);
  return Change::kDone;
}

FiscalService::Change FiscalService::Cancel(const std::string& key) {
  const std::optional<JobRecord> job = journal_.Find(key);
  if (!job) return Change::kNoSuchJob;
  if (!journal_.Move(key, JobState::kAccepted, JobState::kFailed,
                     ErrorResult("cancelled", "cancelled before it was printed; the sale needs a new Idempotency-Key")))
    return Change::kWrongState;
  if (DeviceWorker* worker = WorkerOf(job->device)) worker->Forget(key);
  board_.Report(key);
  return Change::kDone;
}

}  // namespace korvena::service
