#pragma once
// A raw command for the service role: the text between ESC ";" and CR, sent
// as a job of its own through the worker's queue and journal. Whatever could
// open or print a document, or move bulk data over the line, is refused
// here, so the journal stays the only way a document reaches the paper.
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

#include "korvena/service/crash_points.h"
#include "korvena/service/device_channel.h"
#include "korvena/service/job_journal.h"

namespace korvena::service {

inline constexpr std::string_view kCommandJob = "command";

// Why the command named `name` is refused as a raw command; empty when it is not.
std::string_view RefusedCommandReason(std::string_view name);

struct CheckedCommand {
  enum Kind { kTaken, kInvalid, kRefused } kind = kTaken;
  std::string message;  // why not, for kInvalid and kRefused
  std::string bytes;    // kTaken: the text in code page 852
};
// The body {"command": TEXT} checked: one field, a text the code page can
// hold without control characters, and no refused command.
CheckedCommand CheckCommand(const nlohmann::json& body);

struct RawCommandOutcome {
  JobState state = JobState::kDone;
  bool lost = false;  // the device gave no answer: the worker looks for it again
};
// Sends the job's command once, journalling its frame, and finishes the job
// with {"answer": TEXT} (UTF-8). A job that was already running when it came
// here (a crash left it so) is not sent again: it fails, saying so.
RawCommandOutcome RunRawCommand(JobJournal& journal, DeviceChannel& channel, const JobRecord& job,
                                uint32_t answerLimitMs, const CrashHook& crash);

}  // namespace korvena::service
