#include "korvena/service/slip_job.h"

#include <nlohmann/json.hpp>

#include "encodings/unicode_code_pages.h"
#include "korvena/protocol/amounts.h"
#include "korvena/protocol/device_status.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/service/job_result.h"

namespace korvena::service {
namespace {

using Json = nlohmann::ordered_json;
using Phase = SlipJob::Progress::Phase;
namespace info = protocol::info;

constexpr std::pair<Phase, const char*> kPhases[] = {
    {Phase::kNew, "new"}, {Phase::kPrinted, "printed"}, {Phase::kFetched, "fetched"}};

Json ValuesJson(const std::map<int, std::string>& values) {
  Json json = Json::object();
  for (const auto& [number, value] : values) json[std::to_string(number)] = encodings::CodePage852ToUtf8(value);
  return json;
}

// Kept in UTF-8 in the journal; the device's answers are plain ASCII anyway.
std::map<int, std::string> ValuesFrom(const Json& json) {
  std::map<int, std::string> values;
  for (const auto& [number, value] : json.items()) values[std::stoi(number)] = value.get<std::string>();
  return values;
}

std::string ProgressJson(const SlipJob::Progress& progress) {
  Json json;
  for (const auto& [phase, name] : kPhases)
    if (phase == progress.phase) json["phase"] = name;
  if (progress.before) json["before"] = ValuesJson(*progress.before);
  if (progress.after) json["after"] = ValuesJson(*progress.after);
  json["pending"] = progress.pending;
  if (progress.printout) json["printout"] = *progress.printout;
  if (progress.printoutMissing) json["printoutMissing"] = true;
  if (!progress.notes.empty()) json["notes"] = progress.notes;
  return json.dump();
}

std::optional<SlipJob::Progress> ProgressFrom(const std::string& text) {
  try {
    const Json json = Json::parse(text);
    SlipJob::Progress progress;
    if (json.empty()) return progress;
    const std::string phase = json.at("phase").get<std::string>();
    bool known = false;
    for (const auto& [p, name] : kPhases)
      if (phase == name) progress.phase = p, known = true;
    if (!known) return std::nullopt;
    if (json.contains("before")) progress.before = ValuesFrom(json["before"]);
    if (json.contains("after")) progress.after = ValuesFrom(json["after"]);
    progress.pending = json.at("pending").get<bool>();
    if (json.contains("printout")) progress.printout = json["printout"].get<std::string>();
    progress.printoutMissing = json.value("printoutMissing", false);
    if (json.contains("notes")) progress.notes = json["notes"].get<std::vector<std::string>>();
    return progress;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<int64_t> Count(const std::map<int, std::string>& values, int number) {
  const auto value = values.find(number);
  if (value == values.end()) return std::nullopt;
  return protocol::ParseDecimal(value->second, 0);
}

std::string ValueOf(const std::map<int, std::string>& values, int number) {
  const auto value = values.find(number);
  return value == values.end() ? std::string() : value->second;
}

}  // namespace

SlipJob::SlipJob(JobJournal& journal, DeviceChannel& channel, const JobRecord& job, SlipPlan plan,
                 uint32_t answerLimitMs, const CrashHook& crash)
    : journal_(journal),
      channel_(channel),
      job_(job),
      plan_(std::move(plan)),
      answerLimitMs_(answerLimitMs),
      line_(journal, channel, job.key, crash) {}

SlipOutcome SlipJob::Run() {
  Flow flow = Flow::kGoOn;
  if (const std::optional<Progress> progress = ProgressFrom(job_.progress)) {
    progress_ = *progress;
    if (progress_.pending) flow = Settle();
    while (flow == Flow::kGoOn) flow = Advance();
  } else {
    flow = Unknown("the journal's record of the document cannot be read");
  }
  SlipOutcome outcome;
  if (flow == Flow::kLost) {
    outcome.kind = SlipOutcome::kLost;
  } else {
    outcome.state = finalState_;
  }
  outcome.printed = progress_.phase != Phase::kNew;
  if (progress_.after) outcome.after = *progress_.after;
  return outcome;
}

SlipJob::Flow SlipJob::Advance() {
  switch (progress_.phase) {
    case Phase::kNew: return Print();
    case Phase::kPrinted: return Fetch();
    case Phase::kFetched: return Done();
  }
  return Flow::kFinished;
}

SlipJob::Flow SlipJob::Print() {
  if (!progress_.before && !plan_.witnesses.empty()) {
    progress_.before = ReadWitnesses();
    if (!progress_.before) return Flow::kLost;
  }
  progress_.pending = true;
  const SentFrame sent = line_.Send(plan_.purpose, plan_.frame, ProgressJson(progress_), answerLimitMs_);
  switch (sent.kind) {
    case SentFrame::kTaken:
      progress_.pending = false;
      progress_.phase = Phase::kPrinted;
      break;
    case SentFrame::kRefused:
      progress_.pending = false;
      line_.Conclude(sent, ProgressJson(progress_));
      return Finish(JobState::kFailed, JobError("refused",
                                                "the device refused the " + plan_.noun + ": " +
                                                    std::string(protocol::StatusMeaning(sent.status)),
                                                sent.status)
                                           .dump());
    case SentFrame::kSilent:
      line_.Conclude(sent, ProgressJson(progress_));
      return Flow::kLost;
    case SentFrame::kUnclear:
      progress_.notes.push_back(plan_.purpose + " was answered \"" + encodings::CodePage852ToUtf8(sent.answer.line) +
                                "\", which says nothing");
      line_.Conclude(sent, ProgressJson(progress_));
      return Settle();
  }
  line_.Conclude(sent, ProgressJson(progress_));
  return Flow::kGoOn;
}

SlipJob::Flow SlipJob::Settle() {
  if (plan_.witnesses.empty() || !progress_.before)
    return Unknown("a " + plan_.noun + " moves no counter the device shows, so whether " + plan_.purpose +
                   " printed cannot be told");
  const std::optional<std::map<int, std::string>> now = ReadWitnesses();
  if (!now) return Flow::kLost;
  const std::optional<bool> printed = PrintedBy(*now);
  if (!printed)
    return Unknown("the device's counters cannot tell whether " + plan_.purpose + " printed (before: " +
                   ValuesJson(*progress_.before).dump() + ", now: " + ValuesJson(*now).dump() + ")");
  progress_.pending = false;
  if (*printed) {
    progress_.notes.push_back(plan_.purpose + " was taken: its counters moved");
    progress_.phase = Phase::kPrinted;
    progress_.after = *now;
  } else {
    progress_.notes.push_back(plan_.purpose + " was not taken: its counters stayed; it is sent again");
  }
  Save();
  return Flow::kGoOn;
}

std::optional<bool> SlipJob::PrintedBy(const std::map<int, std::string>& now) const {
  const std::map<int, std::string>& before = *progress_.before;
  if (plan_.kind == SlipPlan::Kind::kDailyClosing) {
    const bool moved = ValueOf(now, info::kLastClosingDate) != ValueOf(before, info::kLastClosingDate) ||
                       ValueOf(now, info::kDocumentsAtClosing) != ValueOf(before, info::kDocumentsAtClosing);
    if (moved) return true;
    // A closing sets 61 to the device's date and 63 to the last document's
    // number: one that would set both as they were leaves nothing to tell by.
    const bool wouldMove = ValueOf(before, info::kLastClosingDate) != ValueOf(before, info::kClock).substr(0, 10) ||
                           ValueOf(before, info::kDocumentsAtClosing) != ValueOf(before, info::kLastDocument);
    if (wouldMove) return false;
    return std::nullopt;
  }
  // A cash slip: its number (50) and the day's count of its kind move together.
  int moved = 0;
  for (const int number : plan_.witnesses) {
    const std::optional<int64_t> was = Count(before, number);
    const std::optional<int64_t> is = Count(now, number);
    if (!was || !is) return std::nullopt;
    if (*is == *was + 1) ++moved;
    else if (*is != *was) return std::nullopt;
  }
  if (moved == static_cast<int>(plan_.witnesses.size())) return true;
  if (moved == 0) return false;
  return std::nullopt;
}

std::optional<std::map<int, std::string>> SlipJob::ReadWitnesses() {
  std::string frames;
  for (const int number : plan_.witnesses) frames += protocol::InfoQueryFrame(number);
  const int64_t n = journal_.BeginFrame(job_.key, "counters", frames, ProgressJson(progress_));
  std::map<int, std::string> values;
  std::string answers;
  for (const int number : plan_.witnesses) {
    const std::optional<std::string> answer = channel_.QueryInfo(number);
    if (!answer) {
      journal_.EndFrame(job_.key, n, std::nullopt, ProgressJson(progress_));
      return std::nullopt;
    }
    answers += (answers.empty() ? "" : "\r") + *answer;
    values[number] = *answer;
  }
  journal_.EndFrame(job_.key, n, answers, ProgressJson(progress_));
  return values;
}

SlipJob::Flow SlipJob::Fetch() {
  if (!progress_.after && !plan_.witnesses.empty()) {
    progress_.after = ReadWitnesses();
    if (!progress_.after) return Flow::kLost;
  }
  const JournalledLine::Fetched fetched = line_.FetchPrintout([this] { return ProgressJson(progress_); },
                                                             [this](const std::string& printout) {
                                                               progress_.printout = printout;
                                                               progress_.phase = Phase::kFetched;
                                                             });
  if (fetched == JournalledLine::Fetched::kLost) return Flow::kLost;
  if (fetched != JournalledLine::Fetched::kMissing) return Flow::kGoOn;
  progress_.printoutMissing = true;
  progress_.phase = Phase::kFetched;
  progress_.notes.push_back("the device gave no LDX data for the " + plan_.noun);
  Save();
  return Flow::kGoOn;
}

SlipJob::Flow SlipJob::Done() {
  Json result = {{"state", "done"}};
  const std::map<int, std::string> after = progress_.after.value_or(std::map<int, std::string>{});
  if (plan_.kind == SlipPlan::Kind::kDeposit || plan_.kind == SlipPlan::Kind::kWithdrawal) {
    const std::optional<int64_t> number = Count(after, info::kLastDocument);
    result["documentNumber"] = number ? Json(*number) : Json();
  }
  if (plan_.kind == SlipPlan::Kind::kDailyClosing)
    result["closing"] = {{"date", ValueOf(after, info::kLastClosingDate)},
                         {"lastDocument", Count(after, info::kDocumentsAtClosing).value_or(0)}};
  result["printout"] = progress_.printout ? Json(*progress_.printout) : Json();
  return Finish(JobState::kDone, result.dump());
}

void SlipJob::Save() { journal_.SaveProgress(job_.key, ProgressJson(progress_)); }

SlipJob::Flow SlipJob::Finish(JobState state, const std::string& result) {
  finalState_ = state;
  journal_.Finish(job_.key, state, result, ProgressJson(progress_));
  return Flow::kFinished;
}

SlipJob::Flow SlipJob::Unknown(const std::string& reason) {
  Json result = JobError("unknown", "the " + plan_.noun + "'s outcome cannot be told: " + reason +
                                        "; nothing more prints on this device until the job is resolved");
  Json evidence = {{"reason", reason}, {"frame", plan_.purpose}};
  if (!progress_.notes.empty()) evidence["notes"] = progress_.notes;
  result["evidence"] = evidence;
  return Finish(JobState::kUnknown, result.dump());
}

}  // namespace korvena::service
