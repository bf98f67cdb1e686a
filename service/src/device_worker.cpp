#include "korvena/service/device_worker.h"

#include <algorithm>
#include <chrono>
#include <nlohmann/json.hpp>
#include <utility>

#include "korvena/operations/invalid_input.h"
#include "korvena/operations/status_values.h"
#include "korvena/protocol/amounts.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/service/job_result.h"
#include "korvena/service/raw_command.h"
#include "korvena/service/receipt_job.h"
#include "korvena/service/setting_job.h"
#include "korvena/service/slip_job.h"
#include "korvena/service/service_log.h"

namespace korvena::service {
namespace {

namespace info = protocol::info;
using Hold = std::unique_lock<std::mutex>;

// Read at once after every connect: who the device is and how it computes VAT.
constexpr int kIdentity[] = {info::kVersionText, info::kSerialNumber, info::kDkp, info::kDic, 10, 11, 12, 13};

int64_t SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::optional<VatCoefficients> CoefficientsOf(const std::map<int, std::string>& values) {
  VatCoefficients coefficients{};
  for (int rate = 1; rate <= info::kVatRates; ++rate) {
    const auto value = values.find(info::VatCoefficient(rate));
    if (value == values.end()) return std::nullopt;
    const std::optional<int64_t> number = protocol::ParseDecimal(value->second, 0);
    if (!number) return std::nullopt;
    coefficients[static_cast<std::size_t>(rate - 1)] = *number;
  }
  return coefficients;
}

}  // namespace

DeviceWorker::DeviceWorker(WorkerSettings settings, JobJournal& journal, std::unique_ptr<DeviceChannel> channel,
                           std::function<void(const std::string& key)> jobChanged, ServiceEvents& events)
    : settings_(std::move(settings)),
      journal_(journal),
      channel_(std::move(channel)),
      jobChanged_(std::move(jobChanged)),
      events_(events),
      refreshNumbers_(operations::StatusReportNumbers()) {
  view_.id = settings_.id;
}

DeviceWorker::~DeviceWorker() { Stop(); }

void DeviceWorker::Start() {
  {
    const Hold hold(lock_);
    for (const JobRecord& job : journal_.Jobs(settings_.id, JobState::kAccepted)) queue_.push_back(job.key);
    view_.queueLength = queue_.size();
  }
  thread_ = std::thread([this] { Loop(); });
}

void DeviceWorker::Stop() {
  {
    const Hold hold(lock_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (connected_) channel_->Close();
  connected_ = false;
}

DeviceView DeviceWorker::View() const {
  const Hold hold(lock_);
  return view_;
}

void DeviceWorker::Enqueue(const std::string& key) {
  {
    const Hold hold(lock_);
    queue_.push_back(key);
    view_.queueLength = queue_.size();
    woken_ = true;
  }
  wake_.notify_all();
}

void DeviceWorker::Forget(const std::string& key) {
  {
    const Hold hold(lock_);
    queue_.erase(std::remove(queue_.begin(), queue_.end(), key), queue_.end());
    view_.queueLength = queue_.size();
    woken_ = true;
  }
  wake_.notify_all();
}

void DeviceWorker::Wake() {
  {
    const Hold hold(lock_);
    woken_ = true;
  }
  wake_.notify_all();
}

bool DeviceWorker::Rest(uint32_t ms) {
  Hold hold(lock_);
  wake_.wait_for(hold, std::chrono::milliseconds(ms), [this] { return stopping_ || woken_; });
  woken_ = false;
  return !stopping_;
}

void DeviceWorker::SetPaused(bool paused, uint32_t limitMs) {
  Hold hold(lock_);
  paused_ = paused;
  woken_ = true;
  wake_.notify_all();
  stateChanged_.wait_for(hold, std::chrono::milliseconds(limitMs),
                         [&] { return (view_.state == DeviceState::kPaused) == paused || stopping_; });
}

bool DeviceWorker::HandedOver() {
  {
    const Hold hold(lock_);
    if (!paused_) return false;
  }
  if (connected_) channel_->Close();
  connected_ = false;
  // Whatever happens on the device meanwhile (a receipt printed by hand) makes these stale.
  counters_.reset();
  refreshNext_ = 0;
  lastPassEnd_ = 0;
  SetState(DeviceState::kPaused);
  return true;
}

void DeviceWorker::SetState(DeviceState state) {
  std::optional<DeviceView> changed;
  {
    const Hold hold(lock_);
    const DeviceState stateBefore = view_.state;
    const int32_t baudBefore = view_.baud;
    if (view_.state != state)
      LogLine("%s is %s", settings_.id.c_str(), std::string(DeviceStateName(state)).c_str());
    view_.state = state;
    if (state != DeviceState::kLost && state != DeviceState::kConnecting) view_.baud = channel_->baud();
    if (view_.state != stateBefore || view_.baud != baudBefore) changed = view_;
  }
  stateChanged_.notify_all();
  if (changed) events_.Device(*changed);
}

void DeviceWorker::Remember(int number, const std::string& answer, bool byOwnJob) {
  const Hold hold(lock_);
  if (!byOwnJob && (number == info::kLastClosingDate || number == info::kDocumentsAtClosing)) {
    // Unknown before (the first pass since the start) is no closing.
    const auto known = view_.values.find(number);
    if (known != view_.values.end() && known->second != answer) closingSeen_ = true;
  }
  view_.values[number] = answer;
  if (number >= info::VatCoefficient(1) && number <= info::VatCoefficient(info::kVatRates))
    view_.coefficients = CoefficientsOf(view_.values);
}

void DeviceWorker::Loop() {
  while (true) {
    {
      const Hold hold(lock_);
      if (stopping_) return;
    }
    try {
      if (HandedOver()) {
        if (!Rest(settings_.refreshEveryMs)) return;
        continue;
      }
      if (!connected_ && !Connect()) {
        if (!Rest(settings_.reconnectPauseMs)) return;
        continue;
      }
      if (RunSettledWork()) continue;
      // Nothing to print: the status values, one at a time, while nothing comes.
      const bool quiet = SteadyMs() - lastBusy_ >= settings_.quietBeforeRefreshMs;
      const bool due = refreshNext_ > 0 || lastPassEnd_ == 0 || SteadyMs() - lastPassEnd_ >= settings_.refreshEveryMs;
      if (quiet && due) {
        if (!RefreshOne()) LoseDevice();
        continue;
      }
      if (!Rest(due ? settings_.quietBeforeRefreshMs : settings_.refreshEveryMs)) return;
    } catch (const std::exception& error) {
      // The journal failed (a full disk, say): nothing is sent until it works again.
      LogLine("%s: %s", settings_.id.c_str(), error.what());
      if (!Rest(settings_.reconnectPauseMs)) return;
    }
  }
}

bool DeviceWorker::Connect() {
  if (View().state != DeviceState::kLost) SetState(DeviceState::kConnecting);
  if (!channel_->Connect()) {
    SetState(DeviceState::kLost);
    return false;
  }
  connected_ = true;
  counters_.reset();
  if (!ReadIdentity()) {
    LoseDevice();
    return false;
  }
  SetState(DeviceState::kReady);
  return true;
}

bool DeviceWorker::ReadIdentity() {
  for (const int number : kIdentity) {
    const std::optional<std::string> answer = channel_->QueryInfo(number);
    if (!answer) return false;
    Remember(number, *answer);
  }
  return true;
}

void DeviceWorker::LoseDevice() {
  channel_->Close();
  connected_ = false;
  counters_.reset();
  SetState(DeviceState::kLost);
}

bool DeviceWorker::RunSettledWork() {
  // A job a crash or a silent device left running comes first, before anything new.
  const std::vector<JobRecord> running = journal_.Jobs(settings_.id, JobState::kRunning);
  if (!running.empty()) {
    RunJob(running.front());
    return true;
  }
  if (!journal_.Jobs(settings_.id, JobState::kUnknown).empty()) {
    SetState(DeviceState::kBlocked);
    return false;
  }
  std::optional<std::string> key;
  {
    const Hold hold(lock_);
    if (!queue_.empty()) {
      key = queue_.front();
      queue_.pop_front();
      view_.queueLength = queue_.size();
    }
  }
  if (!key) {
    SetState(DeviceState::kReady);
    return false;
  }
  // A job cancelled meanwhile is no longer accepted, and is skipped.
  if (journal_.Move(*key, JobState::kAccepted, JobState::kRunning)) {
    if (const std::optional<JobRecord> job = journal_.Find(*key)) {
      events_.Job(*job);
      RunJob(*job);
    }
  }
  return true;
}

void DeviceWorker::RunJob(const JobRecord& job) {
  {
    const Hold hold(lock_);
    settling_ = job.key;
  }
  SetState(DeviceState::kBusy);
  if (job.kind == kCommandJob) return RunCommand(job);
  if (IsSlipJob(job.kind)) return RunSlip(job);
  if (IsSettingJob(job.kind)) return RunSetting(job);
  std::optional<ReceiptPlan> plan;
  try {
    plan.emplace(nlohmann::json::parse(job.request),
                 job.kind == kInvoiceJob ? ReceiptPlan::Form::kInvoice : ReceiptPlan::Form::kReceipt);
  } catch (const std::exception& error) {
    // It was checked when accepted; a journal that no longer reads so is no receipt to print.
    FinishUnreadable(job, error.what());
    return;
  }
  ReceiptJobSettings run{settings_.answerLimitMs, settings_.crash, View().coefficients, counters_};
  counters_.reset();
  const ReceiptJobOutcome outcome = ReceiptJob(journal_, *channel_, job, *plan, run).Run();
  lastBusy_ = SteadyMs();
  if (outcome.kind == ReceiptJobOutcome::kLost) {
    LogLine("%s fell silent during job %s", settings_.id.c_str(), job.key.c_str());
    LoseDevice();
    return;
  }
  counters_ = outcome.countersAfter;
  if (counters_) {
    Remember(info::kLastDocument, std::to_string(counters_->lastDocument));
    Remember(info::kSalesDocuments, std::to_string(counters_->salesDocuments));
    Remember(info::kNetTurnover, counters_->netTurnover);
  }
  LogLine("job %s on %s is %s", job.key.c_str(), settings_.id.c_str(),
          std::string(JobStateName(outcome.state)).c_str());
  Settled(job.key);
}

void DeviceWorker::RunSlip(const JobRecord& job) {
  std::optional<SlipPlan> plan;
  try {
    plan = SlipPlanOf(job.kind, nlohmann::json::parse(job.request));
  } catch (const std::exception& error) {
    FinishUnreadable(job, error.what());
    return;
  }
  // A slip has a number of its own: the receipts' counters are read afresh after it.
  counters_.reset();
  const SlipOutcome outcome = SlipJob(journal_, *channel_, job, *plan, settings_.answerLimitMs, settings_.crash).Run();
  lastBusy_ = SteadyMs();
  // A closing's new 61 and 63 are the service's own: no event says the device made one.
  for (const auto& [number, value] : outcome.after) Remember(number, value, true);
  if (outcome.kind == SlipOutcome::kLost) {
    LogLine("%s fell silent during job %s", settings_.id.c_str(), job.key.c_str());
    LoseDevice();
    return;
  }
  LogLine("job %s on %s is %s", job.key.c_str(), settings_.id.c_str(),
          std::string(JobStateName(outcome.state)).c_str());
  Settled(job.key);
}

void DeviceWorker::RunCommand(const JobRecord& job) {
  const RawCommandOutcome outcome = RunRawCommand(journal_, *channel_, job, settings_.answerLimitMs, settings_.crash);
  AfterDeviceChange(job, outcome.state, outcome.lost);
}

void DeviceWorker::RunSetting(const JobRecord& job) {
  const SettingOutcome outcome = RunSettingJob(journal_, *channel_, job, settings_.servicePassword);
  AfterDeviceChange(job, outcome.state, outcome.lost);
}

void DeviceWorker::AfterDeviceChange(const JobRecord& job, JobState state, bool lost) {
  lastBusy_ = SteadyMs();
  counters_.reset();
  refreshNext_ = 0;
  lastPassEnd_ = 0;
  if (lost || !ReadIdentity()) LoseDevice();
  // A setting the device fell silent on stays running, and runs again once it is back.
  if (state == JobState::kRunning) {
    LogLine("%s fell silent during job %s", settings_.id.c_str(), job.key.c_str());
    return;
  }
  LogLine("job %s on %s is %s", job.key.c_str(), settings_.id.c_str(), std::string(JobStateName(state)).c_str());
  Settled(job.key);
}

bool DeviceWorker::Settling(const std::string& key) const {
  const Hold hold(lock_);
  return settling_ == key;
}

void DeviceWorker::Settled(const std::string& key) {
  {
    const Hold hold(lock_);
    settling_.clear();
  }
  // Only now: a waiter that came too late for this news finds the job settled instead.
  jobChanged_(key);
}

void DeviceWorker::FinishUnreadable(const JobRecord& job, const std::string& why) {
  journal_.Finish(job.key, JobState::kFailed, JobError("invalid", "the job's request cannot be read: " + why).dump(),
                  job.progress);
  Settled(job.key);
}

bool DeviceWorker::RefreshOne() {
  const int number = refreshNumbers_[refreshNext_];
  const std::optional<std::string> answer = channel_->QueryInfo(number);
  if (!answer) return false;
  Remember(number, *answer);
  if (++refreshNext_ < refreshNumbers_.size()) return true;
  refreshNext_ = 0;
  lastPassEnd_ = SteadyMs();
  AnnounceClosing();  // before the view says the pass is over
  const Hold hold(lock_);
  view_.asOf = journal_.Now();
  return true;
}

void DeviceWorker::AnnounceClosing() {
  std::string date;
  std::string documents;
  {
    const Hold hold(lock_);
    // One closing changes both values, read one after the other: it is told once, with both.
    if (!std::exchange(closingSeen_, false)) return;
    date = view_.values[info::kLastClosingDate];
    documents = view_.values[info::kDocumentsAtClosing];
  }
  LogLine("%s shows a daily closing the service did not make", settings_.id.c_str());
  events_.Closing(settings_.id, date, documents);
}

}  // namespace korvena::service
