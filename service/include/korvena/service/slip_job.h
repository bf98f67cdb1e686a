#pragma once
// A one-frame document on the device through the journal: its witnesses
// read, the frame, the witnesses again where it was in doubt, the LDX
// printout. A frame in doubt (a crash, a silent device, an unclear answer)
// is settled by its witnesses when it has any and they can tell; otherwise
// the job is unknown, for a person to settle, and nothing is printed twice.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "korvena/service/crash_points.h"
#include "korvena/service/device_channel.h"
#include "korvena/service/job_journal.h"
#include "korvena/service/journalled_line.h"
#include "korvena/service/slip_plan.h"

namespace korvena::service {

struct SlipOutcome {
  // kLost: the device fell silent; the job stays running and is settled
  // once the device is back.
  enum Kind { kFinished, kLost } kind = kFinished;
  JobState state = JobState::kRunning;
  bool printed = false;  // the document is on paper: the device's counters moved
  std::map<int, std::string> after;  // the witnesses read after it printed
};

class SlipJob {
 public:
  SlipJob(JobJournal& journal, DeviceChannel& channel, const JobRecord& job, SlipPlan plan, uint32_t answerLimitMs,
          const CrashHook& crash);
  SlipOutcome Run();

  // How far the document got, as the journal keeps it beside the job.
  struct Progress {
    enum class Phase { kNew, kPrinted, kFetched } phase = Phase::kNew;
    std::optional<std::map<int, std::string>> before;
    std::optional<std::map<int, std::string>> after;
    bool pending = false;  // the frame's intent is committed, its effect not known
    std::optional<std::string> printout;
    bool printoutMissing = false;
    std::vector<std::string> notes;
  };

 private:
  enum class Flow { kGoOn, kLost, kFinished };
  Flow Advance();
  Flow Print();
  Flow Settle();
  Flow Fetch();
  Flow Done();
  // The witnesses, one journal record; nothing when the device fell silent.
  std::optional<std::map<int, std::string>> ReadWitnesses();
  // Whether the witnesses moved as the document moves them; nothing when they cannot tell.
  std::optional<bool> PrintedBy(const std::map<int, std::string>& now) const;
  void Save();
  Flow Finish(JobState state, const std::string& result);
  Flow Unknown(const std::string& reason);

  JobJournal& journal_;
  DeviceChannel& channel_;
  JobRecord job_;
  SlipPlan plan_;
  uint32_t answerLimitMs_;
  JournalledLine line_;
  Progress progress_;
  JobState finalState_ = JobState::kRunning;
};

}  // namespace korvena::service
