// A receipt's way through its phases: counters, S, each line, K, the
// counters after it and the LDX printout. A refusal midway voids the lines
// already taken and closes the receipt with nothing due, so no document is
// left open.
#include <nlohmann/json.hpp>

#include "encodings/unicode_code_pages.h"
#include "korvena/operations/amount_field.h"
#include "korvena/operations/invalid_input.h"
#include "korvena/protocol/device_status.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/service/job_result.h"
#include "korvena/service/receipt_job.h"

namespace korvena::service {
namespace {

using Json = nlohmann::ordered_json;
using Phase = ReceiptProgress::Phase;
namespace info = protocol::info;

std::optional<int64_t> CountOf(const std::optional<std::string>& answer) {
  if (!answer) return std::nullopt;
  return protocol::ParseDecimal(*answer, 0);
}

}  // namespace

ReceiptJob::ReceiptJob(JobJournal& journal, DeviceChannel& channel, const JobRecord& job, const ReceiptPlan& plan,
                       ReceiptJobSettings settings)
    : journal_(journal),
      channel_(channel),
      job_(job),
      plan_(plan),
      settings_(std::move(settings)),
      line_(journal, channel, job.key, settings_.crash) {}

ReceiptJob::~ReceiptJob() = default;

ReceiptJobOutcome ReceiptJob::Run() {
  const std::optional<ReceiptProgress> progress = ProgressFromJson(job_.progress);
  Flow flow = Flow::kGoOn;
  if (!progress) {
    flow = Unknown("the journal's record of the document cannot be read");
  } else {
    progress_ = *progress;
    flow = Prepare();
    if (flow == Flow::kGoOn && progress_.pending) flow = Settle();
    while (flow == Flow::kGoOn) flow = Advance();
  }
  ReceiptJobOutcome outcome;
  if (flow == Flow::kLost) {
    outcome.kind = ReceiptJobOutcome::kLost;
    return outcome;
  }
  outcome.state = finalState_;
  if (finalState_ != JobState::kUnknown && progress_.phase == Phase::kFetched) outcome.countersAfter = progress_.after;
  return outcome;
}

ReceiptJob::Flow ReceiptJob::Prepare() {
  if (progress_.coefficients) return Flow::kGoOn;
  VatCoefficients coefficients{};
  if (settings_.coefficients) {
    coefficients = *settings_.coefficients;
  } else if (plan_.form() == ReceiptPlan::Form::kReceipt) {  // an invoice's amount is its total
    for (int rate = 1; rate <= info::kVatRates; ++rate) {
      const std::optional<int64_t> value = CountOf(channel_.QueryInfo(info::VatCoefficient(rate)));
      if (!value) return Flow::kLost;
      coefficients[static_cast<std::size_t>(rate - 1)] = *value;
    }
  }
  try {
    plan_.Check(coefficients);
  } catch (const operations::InvalidInput& invalid) {
    return Finish(JobState::kFailed, JobError("invalid", invalid.what()).dump());
  }
  progress_.coefficients = coefficients;
  if (!progress_.before && settings_.counters) progress_.before = settings_.counters;
  Save();
  return Flow::kGoOn;
}

ReceiptJob::Flow ReceiptJob::Advance() {
  switch (progress_.phase) {
    case Phase::kNew: return Open();
    case Phase::kOpen:
      if (progress_.voiding) return NextVoidingLine();
      return progress_.next < plan_.LineCount() ? NextLine() : Close();
    case Phase::kClosed: return AfterClose();
    case Phase::kFetched: return Done();
  }
  return Flow::kFinished;
}

ReceiptJob::Flow ReceiptJob::Open() {
  if (!progress_.before) {
    const Flow read = ReadCounters(&ReceiptProgress::before);
    if (read != Flow::kGoOn) return read;
  }
  const Sent sent = SendFrame(Step::kOpen, std::string(plan_.OpenName()), plan_.StartFrame());
  if (sent.kind == SentFrame::kTaken) progress_.phase = Phase::kOpen;
  if (sent.kind == SentFrame::kRefused) {
    progress_.pending.reset();
    Conclude(sent);
    return Finish(JobState::kFailed, JobError("refused", "the device refused to open the " + std::string(plan_.noun()) + ": " +
                                                              std::string(protocol::StatusMeaning(sent.status)),
                                               sent.status)
                                         .dump());
  }
  return AfterAnswer(sent);
}

ReceiptJob::Flow ReceiptJob::NextLine() {
  const TakenLine line{progress_.next, plan_.KindOf(progress_.next)};
  const Sent sent = SendFrame(Step::kLine, LineStepName(line.line), plan_.LineFrame(line), line);
  if (sent.kind == SentFrame::kTaken) {
    progress_.taken.push_back(line);
    ++progress_.next;
  }
  if (sent.kind == SentFrame::kRefused) return Refused(sent, "line " + std::to_string(line.line + 1));
  return AfterAnswer(sent);
}

ReceiptJob::Flow ReceiptJob::NextVoidingLine() {
  if (progress_.voided == progress_.voidTargets) {
    const Sent sent = SendFrame(Step::kClose, "void K", ReceiptPlan::VoidCloseFrame());
    if (sent.kind == SentFrame::kTaken) progress_.phase = Phase::kClosed;
    if (sent.kind == SentFrame::kRefused) {
      Conclude(sent);
      return Unknown("the device refused to close the voided receipt: " +
                     std::string(protocol::StatusMeaning(sent.status)));
    }
    return AfterAnswer(sent);
  }
  // Last taken first: a storno in the request is undone before the item it cancelled.
  const TakenLine& target = progress_.taken[progress_.voidTargets - 1 - progress_.voided];
  const TakenLine voiding{target.line, VoidingKind(target.kind)};
  const Sent sent = SendFrame(Step::kVoid, "void " + LineStepName(target.line), plan_.LineFrame(voiding), voiding);
  if (sent.kind == SentFrame::kTaken) {
    progress_.taken.push_back(voiding);
    ++progress_.voided;
  }
  if (sent.kind == SentFrame::kRefused) {
    Conclude(sent);
    return Unknown("the device refused a line that voids " + LineStepName(target.line) + ": " +
                   std::string(protocol::StatusMeaning(sent.status)));
  }
  return AfterAnswer(sent);
}

ReceiptJob::Flow ReceiptJob::Close() {
  const Sent sent = SendFrame(Step::kClose, std::string(plan_.CloseName()), plan_.CloseFrame());
  if (sent.kind == SentFrame::kTaken) progress_.phase = Phase::kClosed;
  if (sent.kind == SentFrame::kRefused && plan_.form() == ReceiptPlan::Form::kInvoice) {
    // An invoice has no lines to void, and nothing closes it but its amount paid.
    Conclude(sent);
    return Unknown("the device refused to close the invoice (" + std::string(protocol::StatusMeaning(sent.status)) +
                   "); it stays open on the device until it is closed there");
  }
  if (sent.kind == SentFrame::kRefused) return Refused(sent, "the close");
  return AfterAnswer(sent);
}

ReceiptJob::Flow ReceiptJob::Refused(const Sent& sent, std::string doing) {
  progress_.pending.reset();
  progress_.voiding = Refusal{"the device refused " + doing + ": " + std::string(protocol::StatusMeaning(sent.status)),
                              sent.status};
  progress_.voidTargets = progress_.taken.size();
  progress_.voided = 0;
  Conclude(sent);
  return Flow::kGoOn;
}

ReceiptJob::Flow ReceiptJob::AfterAnswer(const Sent& sent) {
  if (sent.kind == SentFrame::kTaken) progress_.pending.reset();
  Conclude(sent);
  switch (sent.kind) {
    case SentFrame::kTaken: return Flow::kGoOn;
    case SentFrame::kSilent: return Flow::kLost;
    case SentFrame::kUnclear:
      // An empty line (which the driver would count as 0) or noise: its effect must be found out.
      Note(progress_.pending->purpose + " was answered \"" + encodings::CodePage852ToUtf8(sent.answer.line) +
           "\", which says nothing");
      return Settle();
    case SentFrame::kRefused: break;
  }
  return Flow::kGoOn;
}

ReceiptJob::Flow ReceiptJob::AfterClose() {
  if (!progress_.after) {
    const Flow read = ReadCounters(&ReceiptProgress::after);
    if (read != Flow::kGoOn) return read;
  }
  return Fetch();
}

ReceiptJob::Flow ReceiptJob::ReadCounters(std::optional<DeviceCounters> ReceiptProgress::*slot) {
  // Queries print nothing: the three go into the journal as one record.
  const int numbers[] = {info::kLastDocument, info::kSalesDocuments, info::kNetTurnover};
  std::string frames;
  for (const int number : numbers) frames += protocol::InfoQueryFrame(number);
  const int64_t n = journal_.BeginFrame(job_.key, "counters", frames, ProgressJson(progress_));
  std::string answers;
  std::optional<std::string> values[3];
  for (std::size_t i = 0; i < 3; ++i) {
    values[i] = channel_.QueryInfo(numbers[i]);
    if (!values[i]) {
      journal_.EndFrame(job_.key, n, std::nullopt, ProgressJson(progress_));
      return Flow::kLost;
    }
    answers += (i == 0 ? "" : "\r") + *values[i];
  }
  const std::optional<int64_t> last = CountOf(values[0]);
  const std::optional<int64_t> sales = CountOf(values[1]);
  // Counters that do not read are no better than none: asked again once the device is found again.
  if (!last || !sales) {
    journal_.EndFrame(job_.key, n, answers, ProgressJson(progress_));
    return Flow::kLost;
  }
  progress_.*slot = DeviceCounters{*last, *sales, *values[2]};
  journal_.EndFrame(job_.key, n, answers, ProgressJson(progress_));
  return Flow::kGoOn;
}

ReceiptJob::Flow ReceiptJob::Fetch() {
  progress_.pending = PendingFrame{Step::kFetch, "GETLDX", {}};
  const JournalledLine::Fetched fetched = line_.FetchPrintout([this] { return ProgressJson(progress_); },
                                                             [this](const std::string& printout) {
                                                               progress_.printout = printout;
                                                               progress_.phase = Phase::kFetched;
                                                               progress_.pending.reset();
                                                             });
  if (fetched == JournalledLine::Fetched::kLost) return Flow::kLost;
  if (fetched != JournalledLine::Fetched::kMissing) return Flow::kGoOn;
  progress_.printoutMissing = true;
  progress_.phase = Phase::kFetched;
  progress_.pending.reset();
  Note("the device gave no LDX data for the " + std::string(plan_.noun()));
  Save();
  return Flow::kGoOn;
}

ReceiptJob::Flow ReceiptJob::Done() {
  Json printed = {{"documentNumber", progress_.after ? Json(progress_.after->lastDocument) : Json()},
                  {"printout", progress_.printout ? Json(*progress_.printout) : Json()}};
  if (progress_.voiding) {
    Json result = JobError("refused", progress_.voiding->message, progress_.voiding->deviceStatus);
    printed["voided"] = true;
    result["printed"] = printed;
    return Finish(JobState::kFailed, result.dump());
  }
  operations::DocumentTotals totals;
  try {
    totals = plan_.Check(*progress_.coefficients);
  } catch (const operations::InvalidInput&) {
    // Checked before S with these very coefficients.
  }
  Json result = {{"state", "done"},
                 {"documentNumber", printed["documentNumber"]},
                 {"total", operations::MoneyText(totals.totalCents)},
                 {"change", operations::MoneyText(totals.changeCents)},
                 {"printout", printed["printout"]}};
  return Finish(JobState::kDone, result.dump());
}

ReceiptJob::Sent ReceiptJob::SendFrame(Step step, const std::string& purpose, const std::string& frame,
                                       const std::optional<TakenLine>& line) {
  progress_.pending = PendingFrame{step, purpose, line};
  return line_.Send(purpose, frame, ProgressJson(progress_), settings_.answerLimitMs);
}

ReceiptJob::Sent ReceiptJob::SendProbe(const std::string& frame) {
  return line_.Probe(frame, ProgressJson(progress_), settings_.answerLimitMs);
}

void ReceiptJob::Conclude(const Sent& sent) { line_.Conclude(sent, ProgressJson(progress_)); }

void ReceiptJob::Save() { journal_.SaveProgress(job_.key, ProgressJson(progress_)); }

void ReceiptJob::Note(std::string note) { progress_.notes.push_back(std::move(note)); }

ReceiptJob::Flow ReceiptJob::Finish(JobState state, const std::string& result) {
  finalState_ = state;
  journal_.Finish(job_.key, state, result, ProgressJson(progress_));
  return Flow::kFinished;
}

ReceiptJob::Flow ReceiptJob::Unknown(const std::string& reason) {
  Json result = JobError("unknown", "the " + std::string(plan_.noun()) + "'s outcome cannot be told: " + reason +
                                         "; nothing more prints on this device until the job is resolved");
  Json evidence = {{"reason", reason}, {"documentOpen", progress_.phase == Phase::kOpen}};
  if (progress_.pending) evidence["frame"] = progress_.pending->purpose;
  if (!progress_.notes.empty()) evidence["notes"] = progress_.notes;
  result["evidence"] = evidence;
  return Finish(JobState::kUnknown, result.dump());
}

}  // namespace korvena::service
