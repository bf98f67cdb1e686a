#include "korvena/service/raw_command.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <vector>

#include "encodings/unicode_code_pages.h"
#include "korvena/operations/device_text.h"
#include "korvena/operations/invalid_input.h"
#include "korvena/service/job_result.h"
#include "korvena/service/journalled_line.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;

struct RefusedFamily {
  std::string_view reason;
  std::vector<std::string_view> names;
};

// Every command that prints a document or moves bulk data, by what it does
// (docs/device-commands.md, sections 3.1, 3.2, 3.4 and 3.7). A document
// printed behind the journal's back would confuse the settling of the next
// receipt; bulk data would leave the line in a state the worker cannot read.
const RefusedFamily kRefused[] = {
    {"it opens, fills or closes a receipt or an invoice; receipts go through /receipts",
     {"S", "F", "L", "LS", "LZ", "LP", "LM", "LV", "K", "KF"}},
    {"it prints a cash slip", {"V"}},
    {"it prints a report", {"DX", "DZ", "MI", "MD", "MIP", "MDP"}},
    {"it prints a copy", {"C", "CQ", "CDI", "CDIM", "CDD", "CDDM"}},
    {"it transfers bulk data", {"GETLDX", "READSD", "READFP", "STHTX", "STHTXLEN"}},
    {"it leaves the line for the boot loader or another speed; use a pause for that", {"RESET", "STBRATE"}},
};

}  // namespace

std::string_view RefusedCommandReason(std::string_view name) {
  // The device compares names exactly; refusing in any case costs nothing and guards a lenient firmware.
  std::string upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  for (const RefusedFamily& family : kRefused)
    if (std::find(family.names.begin(), family.names.end(), upper) != family.names.end()) return family.reason;
  return {};
}

CheckedCommand CheckCommand(const Json& body) {
  if (!body.is_object() || body.size() != 1 || !body.contains("command") || !body["command"].is_string())
    return {CheckedCommand::kInvalid, "the body must be {\"command\": TEXT}", {}};
  const std::string& text = body["command"].get_ref<const std::string&>();
  if (text.empty()) return {CheckedCommand::kInvalid, "command: empty", {}};
  CheckedCommand checked;
  try {
    checked.bytes = operations::DeviceCommandText(text, "command");
  } catch (const operations::InvalidInput& invalid) {
    return {CheckedCommand::kInvalid, invalid.what(), {}};
  }
  const std::string name = text.substr(0, text.find(';'));
  if (const std::string_view reason = RefusedCommandReason(name); !reason.empty())
    return {CheckedCommand::kRefused, name + " is not taken as a raw command: " + std::string(reason), {}};
  return checked;
}

RawCommandOutcome RunRawCommand(JobJournal& journal, DeviceChannel& channel, const JobRecord& job,
                                uint32_t answerLimitMs, const CrashHook& crash) {
  // Anything journalled means the frame may have gone out: it is never sent twice.
  if (!journal.Frames(job.key).empty()) {
    journal.Finish(job.key, JobState::kFailed,
                   JobError("answer-lost",
                               "the service stopped while the command was on the line; it was not sent again: "
                               "check its effect with a query, and send it anew with a new Idempotency-Key")
                       .dump(),
                   job.progress);
    return {JobState::kFailed, false};
  }
  std::string bytes;
  try {
    bytes = operations::DeviceCommandText(Json::parse(job.request).at("command").get<std::string>(), "command");
  } catch (const std::exception& error) {
    journal.Finish(job.key, JobState::kFailed,
                   JobError("invalid", std::string("the job's request cannot be read: ") + error.what()).dump(),
                   job.progress);
    return {JobState::kFailed, false};
  }
  const std::string frame = "\x1b;" + bytes + "\r";
  JournalledLine line(journal, channel, job.key, crash);
  const SentFrame sent = line.Send(std::string(kCommandJob), frame, job.progress, answerLimitMs);
  line.Conclude(sent, job.progress);
  if (sent.kind == SentFrame::kSilent) {
    journal.Finish(job.key, JobState::kFailed,
                   JobError("answer-lost", "the device gave no answer within " + std::to_string(answerLimitMs) +
                                               " ms; the command may or may not have been carried out")
                       .dump(),
                   job.progress);
    return {JobState::kFailed, true};
  }
  journal.Finish(job.key, JobState::kDone, Json{{"answer", encodings::CodePage852ToUtf8(sent.answer.line)}}.dump(),
                 job.progress);
  return {JobState::kDone, false};
}

}  // namespace korvena::service
