#pragma once
// One device's worker: a thread with a FIFO queue of accepted jobs. It
// connects (and reconnects whenever the device comes back), settles any job
// a crash or a silent device left running, runs the queue one receipt at a
// time, and between jobs keeps the device's status values fresh. A job
// whose outcome is unknown blocks the device until it is resolved. Paused,
// it lets go of the port for another program until resumed.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "korvena/service/crash_points.h"
#include "korvena/service/device_channel.h"
#include "korvena/service/device_view.h"
#include "korvena/service/job_journal.h"
#include "korvena/service/receipt_progress.h"
#include "korvena/service/service_events.h"

namespace korvena::service {

struct WorkerSettings {
  std::string id;                    // "COM3"
  uint32_t answerLimitMs = 30000;    // a document frame's answer
  uint32_t reconnectPauseMs = 1000;  // between attempts to find a lost device
  uint32_t refreshEveryMs = 10000;   // a full pass over the status values at most this often
  uint32_t quietBeforeRefreshMs = 300;  // the queue has been empty this long before a pass starts
  CrashHook crash;
  std::string servicePassword;  // for the settings; empty when none is configured
};

class DeviceWorker {
 public:
  // `jobChanged` hears every job the worker finishes or leaves unknown;
  // `events` hears each job it starts, each change of the device's state and
  // each daily closing the device made without the service.
  DeviceWorker(WorkerSettings settings, JobJournal& journal, std::unique_ptr<DeviceChannel> channel,
               std::function<void(const std::string& key)> jobChanged, ServiceEvents& events);
  ~DeviceWorker();
  DeviceWorker(const DeviceWorker&) = delete;
  DeviceWorker& operator=(const DeviceWorker&) = delete;

  // Takes the device's accepted jobs from the journal into the queue and starts the thread.
  void Start();
  void Stop();

  const std::string& id() const { return settings_.id; }
  bool hasServicePassword() const { return !settings_.servicePassword.empty(); }
  DeviceView View() const;
  const ExchangeTimes& exchangeTimes() const { return channel_->exchangeTimes; }
  // A job the journal has just accepted for this device.
  void Enqueue(const std::string& key);
  // A job left the queue (cancelled) or was resolved: look again.
  void Forget(const std::string& key);
  void Wake();
  // True from the start of job `key` until everything that follows it (the
  // values read afresh after a setting) is done and its news is out,
  // although the journal may already hold its answer.
  bool Settling(const std::string& key) const;
  // Paused, the worker lets the running job end, then closes the port and
  // holds the queue (the view says paused once it is closed); resumed, it
  // reconnects, reads everything afresh and runs the queue. Waits up to
  // `limitMs` for the worker to act on it.
  void SetPaused(bool paused, uint32_t limitMs);

 private:
  void Loop();
  bool Connect();
  void LoseDevice();
  // Who the device is and its VAT coefficients; false when it was silent.
  bool ReadIdentity();
  // True while paused, with the port closed and what was read of the device dropped.
  bool HandedOver();
  bool RunSettledWork();
  void RunJob(const JobRecord& job);
  void RunCommand(const JobRecord& job);
  // A cash slip, a report or a copy (slip_job.h).
  void RunSlip(const JobRecord& job);
  void RunSetting(const JobRecord& job);
  // After a raw command or a setting: what the receipts rely on (the VAT
  // coefficients, the counters) is read afresh.
  void AfterDeviceChange(const JobRecord& job, JobState state, bool lost);
  void FinishUnreadable(const JobRecord& job, const std::string& why);
  // The job is over: no longer settling, then `jobChanged` hears of it.
  void Settled(const std::string& key);
  // One status value while the queue stays empty; false when the device was silent.
  bool RefreshOne();
  void SetState(DeviceState state);
  // `byOwnJob`: read by a job of the service's (a closing's new 61 and 63),
  // not news of something done on the device without it.
  void Remember(int number, const std::string& answer, bool byOwnJob = false);
  // At the end of a pass over the status values: a closing seen during it is published, unless expected.
  void AnnounceClosing();
  // Waits up to `ms` or until woken; false when stopping.
  bool Rest(uint32_t ms);

  WorkerSettings settings_;
  JobJournal& journal_;
  std::unique_ptr<DeviceChannel> channel_;
  std::function<void(const std::string&)> jobChanged_;
  ServiceEvents& events_;

  mutable std::mutex lock_;
  std::condition_variable wake_;
  std::condition_variable stateChanged_;
  std::deque<std::string> queue_;
  bool stopping_ = false;
  bool woken_ = false;
  bool paused_ = false;
  bool closingSeen_ = false;  // info 61 or 63 changed since the last pass ended
  DeviceView view_;
  std::string settling_;  // the key of the job being run, until Settled

  // The worker thread's own.
  bool connected_ = false;
  std::optional<DeviceCounters> counters_;  // valid while nothing has printed since they were read
  std::vector<int> refreshNumbers_;
  std::size_t refreshNext_ = 0;
  int64_t lastPassEnd_ = 0;
  int64_t lastBusy_ = 0;
  std::thread thread_;
};

}  // namespace korvena::service
