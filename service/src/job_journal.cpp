#include "korvena/service/job_journal.h"

#include "sqlite_database.h"

namespace korvena::service {
namespace {

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS jobs(
  seq INTEGER PRIMARY KEY AUTOINCREMENT,
  key TEXT NOT NULL UNIQUE,
  device TEXT NOT NULL,
  kind TEXT NOT NULL,
  request TEXT NOT NULL,
  state TEXT NOT NULL,
  progress TEXT NOT NULL,
  result TEXT,
  accepted_at INTEGER NOT NULL,
  started_at INTEGER,
  finished_at INTEGER);
CREATE INDEX IF NOT EXISTS jobs_of_device ON jobs(device, state, seq);
CREATE TABLE IF NOT EXISTS frames(
  job INTEGER NOT NULL REFERENCES jobs(seq) ON DELETE CASCADE,
  n INTEGER NOT NULL,
  purpose TEXT NOT NULL,
  frame BLOB NOT NULL,
  outcome TEXT NOT NULL,
  answer BLOB,
  at INTEGER NOT NULL,
  PRIMARY KEY(job, n));
)";

constexpr const char* kJobColumns =
    "seq, key, device, kind, request, state, progress, result, accepted_at, started_at, finished_at";

JobRecord ReadJob(const SqliteStatement& row) {
  JobRecord job;
  job.seq = row.Number(0);
  job.key = row.Text(1);
  job.device = row.Text(2);
  job.kind = row.Text(3);
  job.request = row.Text(4);
  job.state = JobStateNamed(row.Text(5)).value_or(JobState::kUnknown);
  job.progress = row.Text(6);
  job.result = row.OptionalText(7);
  job.acceptedAt = row.Number(8);
  job.startedAt = row.OptionalNumber(9);
  job.finishedAt = row.OptionalNumber(10);
  return job;
}

std::string Name(JobState state) { return std::string(JobStateName(state)); }

}  // namespace

JobJournal::JobJournal(const std::string& path, NowMs now)
    : db_(std::make_unique<SqliteDatabase>(path)), now_(std::move(now)) {
  // WAL with FULL: a commit is on the disk, and survives a power cut, once it returns.
  db_->Execute("PRAGMA journal_mode=WAL");
  db_->Execute("PRAGMA synchronous=FULL");
  db_->Execute("PRAGMA foreign_keys=ON");
  db_->Execute(kSchema);
}

JobJournal::~JobJournal() = default;

JobJournal::Admission JobJournal::Admit(JobRecord job) {
  const std::lock_guard<std::mutex> hold(lock_);
  SqliteTransaction transaction(*db_);
  SqliteStatement existing = db_->Prepare(std::string("SELECT ") + kJobColumns + " FROM jobs WHERE key = ?");
  if (existing.Bind(job.key).Step()) return {false, ReadJob(existing)};
  job.state = JobState::kAccepted;
  job.acceptedAt = now_();
  db_->Prepare(
         "INSERT INTO jobs(key, device, kind, request, state, progress, accepted_at) VALUES(?, ?, ?, ?, ?, ?, ?)")
      .Bind(job.key)
      .Bind(job.device)
      .Bind(job.kind)
      .Bind(job.request)
      .Bind(Name(job.state))
      .Bind(job.progress)
      .Bind(job.acceptedAt)
      .Run();
  job.seq = sqlite3_last_insert_rowid(db_->handle());
  transaction.Commit();
  return {true, std::move(job)};
}

std::optional<JobRecord> JobJournal::Find(const std::string& key) {
  const std::lock_guard<std::mutex> hold(lock_);
  SqliteStatement row = db_->Prepare(std::string("SELECT ") + kJobColumns + " FROM jobs WHERE key = ?");
  if (!row.Bind(key).Step()) return std::nullopt;
  return ReadJob(row);
}

std::vector<JobRecord> JobJournal::Jobs(const std::string& device, JobState state) {
  const std::lock_guard<std::mutex> hold(lock_);
  SqliteStatement rows = db_->Prepare(std::string("SELECT ") + kJobColumns +
                                      " FROM jobs WHERE device = ? AND state = ? ORDER BY seq");
  rows.Bind(device).Bind(Name(state));
  std::vector<JobRecord> jobs;
  while (rows.Step()) jobs.push_back(ReadJob(rows));
  return jobs;
}

std::vector<JobRecord> JobJournal::Latest(std::size_t limit, const std::string& device,
                                          const std::vector<std::string>& kinds) {
  const std::lock_guard<std::mutex> hold(lock_);
  std::string sql = std::string("SELECT ") + kJobColumns + " FROM jobs WHERE (? = '' OR device = ?)";
  if (!kinds.empty()) {
    sql += " AND kind IN (?";
    for (std::size_t i = 1; i < kinds.size(); ++i) sql += ", ?";
    sql += ")";
  }
  SqliteStatement rows = db_->Prepare(sql + " ORDER BY seq DESC LIMIT ?");
  rows.Bind(device).Bind(device);
  for (const std::string& kind : kinds) rows.Bind(kind);
  rows.Bind(static_cast<int64_t>(limit));
  std::vector<JobRecord> jobs;
  while (rows.Step()) jobs.push_back(ReadJob(rows));
  return jobs;
}

std::vector<std::pair<JobState, int64_t>> JobJournal::CountByState() {
  const std::lock_guard<std::mutex> hold(lock_);
  SqliteStatement rows = db_->Prepare("SELECT state, COUNT(*) FROM jobs GROUP BY state");
  std::vector<std::pair<JobState, int64_t>> counts;
  while (rows.Step())
    if (const std::optional<JobState> state = JobStateNamed(rows.Text(0))) counts.emplace_back(*state, rows.Number(1));
  return counts;
}

bool JobJournal::Move(const std::string& key, JobState from, JobState to, const std::optional<std::string>& result) {
  const std::lock_guard<std::mutex> hold(lock_);
  const int64_t now = now_();
  const bool starts = to == JobState::kRunning;
  SqliteStatement update = db_->Prepare(
      starts ? "UPDATE jobs SET state = ?, started_at = ? WHERE key = ? AND state = ?"
             : "UPDATE jobs SET state = ?, finished_at = ?, result = COALESCE(?, result) WHERE key = ? AND state = ?");
  update.Bind(Name(to)).Bind(now);
  if (!starts) update.BindOptional(result);
  update.Bind(key).Bind(Name(from)).Run();
  return db_->Changes() == 1;
}

int64_t JobJournal::SeqOf(const std::string& key) {
  SqliteStatement row = db_->Prepare("SELECT seq FROM jobs WHERE key = ?");
  if (!row.Bind(key).Step()) throw JournalError("journal: no job " + key);
  return row.Number(0);
}

int64_t JobJournal::BeginFrame(const std::string& key, const std::string& purpose, const std::string& frame,
                               const std::string& progress) {
  const std::lock_guard<std::mutex> hold(lock_);
  SqliteTransaction transaction(*db_);
  const int64_t seq = SeqOf(key);
  SqliteStatement last = db_->Prepare("SELECT COALESCE(MAX(n), 0) FROM frames WHERE job = ?");
  last.Bind(seq).Step();
  const int64_t n = last.Number(0) + 1;
  db_->Prepare("INSERT INTO frames(job, n, purpose, frame, outcome, at) VALUES(?, ?, ?, ?, 'intent', ?)")
      .Bind(seq)
      .Bind(n)
      .Bind(purpose)
      .BindBlob(frame)
      .Bind(now_())
      .Run();
  db_->Prepare("UPDATE jobs SET progress = ? WHERE seq = ?").Bind(progress).Bind(seq).Run();
  transaction.Commit();
  return n;
}

void JobJournal::EndFrame(const std::string& key, int64_t n, const std::optional<std::string>& answer,
                          const std::string& progress) {
  const std::lock_guard<std::mutex> hold(lock_);
  SqliteTransaction transaction(*db_);
  const int64_t seq = SeqOf(key);
  SqliteStatement update = db_->Prepare("UPDATE frames SET outcome = ?, answer = ?, at = ? WHERE job = ? AND n = ?");
  update.Bind(std::string_view(answer ? "answered" : "silent"));
  if (answer)
    update.BindBlob(*answer);
  else
    update.BindOptional(std::nullopt);
  update.Bind(now_()).Bind(seq).Bind(n).Run();
  db_->Prepare("UPDATE jobs SET progress = ? WHERE seq = ?").Bind(progress).Bind(seq).Run();
  transaction.Commit();
}

void JobJournal::SaveProgress(const std::string& key, const std::string& progress) {
  const std::lock_guard<std::mutex> hold(lock_);
  db_->Prepare("UPDATE jobs SET progress = ? WHERE key = ?").Bind(progress).Bind(key).Run();
}

void JobJournal::Finish(const std::string& key, JobState state, const std::string& result,
                        const std::string& progress) {
  const std::lock_guard<std::mutex> hold(lock_);
  db_->Prepare("UPDATE jobs SET state = ?, result = ?, progress = ?, finished_at = ? WHERE key = ?")
      .Bind(Name(state))
      .Bind(result)
      .Bind(progress)
      .Bind(now_())
      .Bind(key)
      .Run();
}

std::vector<FrameRecord> JobJournal::Frames(const std::string& key) {
  const std::lock_guard<std::mutex> hold(lock_);
  SqliteStatement rows = db_->Prepare(
      "SELECT n, purpose, frame, outcome, answer, frames.at FROM frames JOIN jobs ON frames.job = jobs.seq "
      "WHERE jobs.key = ? ORDER BY n");
  rows.Bind(key);
  std::vector<FrameRecord> frames;
  while (rows.Step())
    frames.push_back({rows.Number(0), rows.Text(1), rows.Text(2), rows.Text(3), rows.OptionalText(4), rows.Number(5)});
  return frames;
}

int64_t JobJournal::Purge(int64_t beforeMs) {
  const std::lock_guard<std::mutex> hold(lock_);
  db_->Prepare("DELETE FROM jobs WHERE accepted_at < ? AND state IN ('done', 'failed')").Bind(beforeMs).Run();
  return db_->Changes();
}

}  // namespace korvena::service
