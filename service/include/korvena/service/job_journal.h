#pragma once
// The durable journal of jobs: SQLite in WAL mode with synchronous=FULL, so
// a commit survives a crash and a power cut. A job is committed before its
// first byte goes to the device; the intent of each frame is committed
// before the frame is sent, and its answer after, each together with the
// worker's progress, so a restart always knows how far a document got.
// Safe for any number of threads (one connection, one lock).
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "korvena/service/job_record.h"

namespace korvena::service {

class SqliteDatabase;

class JobJournal {
 public:
  using NowMs = std::function<int64_t()>;
  // Opens or creates the journal at `path`; throws JournalError (a
  // std::runtime_error) with the reason when it cannot.
  JobJournal(const std::string& path, NowMs now);
  ~JobJournal();

  int64_t Now() const { return now_(); }

  // Stores `job` as accepted unless its key is taken; then the job that
  // holds it comes back instead, and `added` is false.
  struct Admission {
    bool added = false;
    JobRecord job;
  };
  Admission Admit(JobRecord job);
  std::optional<JobRecord> Find(const std::string& key);
  // The device's jobs in `state`, in acceptance order.
  std::vector<JobRecord> Jobs(const std::string& device, JobState state);
  // The last `limit` jobs, the newest first: of `device` only unless it is
  // empty, of the `kinds` only unless that is empty.
  std::vector<JobRecord> Latest(std::size_t limit, const std::string& device, const std::vector<std::string>& kinds);

  // Moves the job from `from` to `to` with `result`; false when it was not
  // in `from` (another thread got there first). Running stamps the start,
  // a final state or unknown the finish.
  bool Move(const std::string& key, JobState from, JobState to, const std::optional<std::string>& result = {});

  // The intent of a frame, with the progress it leaves; its number.
  int64_t BeginFrame(const std::string& key, const std::string& purpose, const std::string& frame,
                     const std::string& progress);
  // The frame's answer ("silent" when none came), with the progress it leaves.
  void EndFrame(const std::string& key, int64_t n, const std::optional<std::string>& answer,
                const std::string& progress);
  void SaveProgress(const std::string& key, const std::string& progress);
  // The job's last state, with its result and progress, in one commit.
  void Finish(const std::string& key, JobState state, const std::string& result, const std::string& progress);
  std::vector<FrameRecord> Frames(const std::string& key);

  // How many jobs the journal holds in each state (states without any left out).
  std::vector<std::pair<JobState, int64_t>> CountByState();

  // Forgets finished jobs (done or failed) accepted before `beforeMs`; how many.
  int64_t Purge(int64_t beforeMs);

 private:
  int64_t SeqOf(const std::string& key);

  std::mutex lock_;
  std::unique_ptr<SqliteDatabase> db_;
  NowMs now_;
};

}  // namespace korvena::service
