#pragma once
// One receipt on the device, frame by frame through the journal: S, the
// lines, K, the counters after it and the LDX printout. A run picks up
// where the journal says the job stands; a frame left in doubt (by a crash,
// a silent device or an unclear answer) is settled first from the journal
// and from the device, with exchanges that print nothing wherever they can
// tell (docs/service-recovery.md says which device behaviour each relies on).
#include <cstdint>
#include <optional>
#include <string>

#include "korvena/service/crash_points.h"
#include "korvena/service/device_channel.h"
#include "korvena/service/job_journal.h"
#include "korvena/service/journalled_line.h"
#include "korvena/service/receipt_plan.h"
#include "korvena/service/receipt_progress.h"

namespace korvena::service {

struct ReceiptJobSettings {
  uint32_t answerLimitMs = 30000;  // how long a document frame's answer is waited for
  CrashHook crash;
  // The device's VAT coefficients as last read, and its counters when
  // nothing has printed since the last close; read afresh when missing.
  std::optional<VatCoefficients> coefficients;
  std::optional<DeviceCounters> counters;
};

struct ReceiptJobOutcome {
  // kLost: the device fell silent; the job stays running and is settled
  // once the device is back. Otherwise the job's state is `state`.
  enum Kind { kFinished, kLost } kind = kFinished;
  JobState state = JobState::kRunning;
  std::optional<DeviceCounters> countersAfter;  // for the next job, when they hold
};

class ReceiptJob {
 public:
  ReceiptJob(JobJournal& journal, DeviceChannel& channel, const JobRecord& job, const ReceiptPlan& plan,
             ReceiptJobSettings settings);
  ~ReceiptJob();
  ReceiptJob(const ReceiptJob&) = delete;
  ReceiptJob& operator=(const ReceiptJob&) = delete;
  ReceiptJobOutcome Run();

 private:
  enum class Flow { kGoOn, kLost, kFinished };
  using Sent = SentFrame;
  enum class OpenReceipt { kOpen, kNone, kUnclear, kSilent };
  enum class Told { kTaken, kNotTaken, kCannotTell, kLost, kUnclear };

  // receipt_run.cpp: the document's way through its phases.
  Flow Prepare();
  Flow Advance();
  Flow Open();
  Flow NextLine();
  Flow NextVoidingLine();
  Flow Close();
  Flow AfterClose();
  Flow Fetch();
  Flow ReadCounters(std::optional<DeviceCounters> ReceiptProgress::*slot);
  Flow Refused(const Sent& sent, std::string doing);
  Flow AfterAnswer(const Sent& sent);
  Flow Done();

  // A printing frame: its intent with the pending step committed, sent, read.
  Sent SendFrame(Step step, const std::string& purpose, const std::string& frame,
                 const std::optional<TakenLine>& line = {});
  // A frame that prints nothing, journalled as evidence.
  Sent SendProbe(const std::string& frame);
  // Commits the last frame's answer with the progress as it stands.
  void Conclude(const Sent& sent);
  void Save();
  void Note(std::string note);
  Flow Finish(JobState state, const std::string& result);
  Flow Unknown(const std::string& reason);

  // receipt_settling.cpp: the frame in doubt.
  Flow Settle();
  Flow SettleOpen();
  Flow SettleClose();
  Flow SettleLine(const PendingFrame& pending);
  Flow StornoCheck(const TakenLine& line);
  // Whether the plan's document is open, by its close with -1 (ProbeName).
  OpenReceipt ProbeOpenReceipt();
  std::string ProbeName() const;
  Told TellByTotal(const TakenLine& line);
  std::optional<int64_t> QueryCount(int info, bool& silent);

  JobJournal& journal_;
  DeviceChannel& channel_;
  JobRecord job_;
  const ReceiptPlan& plan_;
  ReceiptJobSettings settings_;
  JournalledLine line_;
  ReceiptProgress progress_;
  JobState finalState_ = JobState::kRunning;
};

}  // namespace korvena::service
