#pragma once
// The frames of one job on the device's line, each committed to the journal
// before it goes out and its answer after: what every kind of document job
// shares. The crash hook is told the frame's purpose at each of its three
// moments (crash_points.h).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "korvena/service/crash_points.h"
#include "korvena/service/device_channel.h"
#include "korvena/service/job_journal.h"

namespace korvena::service {

// A frame's answer as a document command's: taken ("0"), refused (another
// status), unclear (a bare CR, noise) or nothing at all.
struct SentFrame {
  enum Kind { kTaken, kRefused, kUnclear, kSilent };
  int64_t n = 0;  // the frame's number in the journal
  LineAnswer answer;
  Kind kind = kSilent;
  int status = 0;  // kRefused: the device's status
};

class JournalledLine {
 public:
  JournalledLine(JobJournal& journal, DeviceChannel& channel, std::string key, CrashHook crash);
  ~JournalledLine();
  JournalledLine(const JournalledLine&) = delete;
  JournalledLine& operator=(const JournalledLine&) = delete;

  // A frame that may print: its intent committed with `progress`, then sent
  // and its answer read. The answer is committed by Conclude, with the
  // progress it leaves.
  SentFrame Send(const std::string& purpose, const std::string& frame, const std::string& progress,
                 uint32_t limitMs);
  // A frame that prints nothing, sent for what its status tells: journalled
  // as evidence, its answer committed at once.
  SentFrame Probe(const std::string& frame, const std::string& progress, uint32_t limitMs);
  void Conclude(const SentFrame& sent, const std::string& progress);

  // GETLDX, its intent committed with `progress()`. kFetched: `took` has
  // been given the printout (UTF-8) before the answer is committed with
  // `progress()` again. kAgain: the device is there but gave none, ask once
  // more; kMissing: it gave none twice, the document stands without it;
  // kLost: the device is silent.
  enum class Fetched { kFetched, kAgain, kMissing, kLost };
  Fetched FetchPrintout(const std::function<std::string()>& progress,
                        const std::function<void(const std::string& printout)>& took);

 private:
  JobJournal& journal_;
  DeviceChannel& channel_;
  std::string key_;
  CrashHook crash_;
  std::string current_;  // the purpose of the frame on the line, for the crash hook
  int fetchTries_ = 0;
};

}  // namespace korvena::service
