#include "korvena/service/journalled_line.h"

#include "encodings/unicode_code_pages.h"
#include "korvena/protocol/device_status.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/frame.h"

namespace korvena::service {

JournalledLine::JournalledLine(JobJournal& journal, DeviceChannel& channel, std::string key, CrashHook crash)
    : journal_(journal), channel_(channel), key_(std::move(key)), crash_(std::move(crash)) {
  channel_.onFrameWritten = [this](std::string_view) {
    if (crash_ && !current_.empty()) crash_(current_, CrashPoint::kSent);
  };
}

JournalledLine::~JournalledLine() { channel_.onFrameWritten = nullptr; }

SentFrame JournalledLine::Send(const std::string& purpose, const std::string& frame, const std::string& progress,
                               uint32_t limitMs) {
  SentFrame sent;
  sent.n = journal_.BeginFrame(key_, purpose, frame, progress);
  current_ = purpose;
  if (crash_) crash_(purpose, CrashPoint::kBeforeSend);
  sent.answer = channel_.Exchange(frame, limitMs);
  if (crash_) crash_(purpose, CrashPoint::kAnswered);
  current_.clear();
  if (sent.answer.silent) {
    sent.kind = SentFrame::kSilent;
  } else if (sent.answer.line == "0") {
    sent.kind = SentFrame::kTaken;
  } else if (const std::optional<int> status = protocol::StatusOfAnswer(sent.answer.line); status && *status != 0) {
    sent.kind = SentFrame::kRefused;
    sent.status = *status;
  } else {
    sent.kind = SentFrame::kUnclear;  // a bare CR, "00", noise
  }
  return sent;
}

SentFrame JournalledLine::Probe(const std::string& frame, const std::string& progress, uint32_t limitMs) {
  SentFrame sent;
  sent.n = journal_.BeginFrame(key_, "probe", frame, progress);
  current_ = "probe";
  sent.answer = channel_.Exchange(frame, limitMs);
  current_.clear();
  sent.kind = sent.answer.silent ? SentFrame::kSilent : SentFrame::kUnclear;
  if (const std::optional<int> status = protocol::StatusOfAnswer(sent.answer.line)) {
    sent.kind = *status == 0 ? SentFrame::kTaken : SentFrame::kRefused;
    sent.status = *status;
  }
  Conclude(sent, progress);
  return sent;
}

void JournalledLine::Conclude(const SentFrame& sent, const std::string& progress) {
  journal_.EndFrame(key_, sent.n, sent.answer.silent ? std::nullopt : std::optional(sent.answer.line), progress);
}

JournalledLine::Fetched JournalledLine::FetchPrintout(const std::function<std::string()>& progress,
                                                     const std::function<void(const std::string&)>& took) {
  const int64_t n = journal_.BeginFrame(key_, "GETLDX", protocol::CommandFrame("GETLDX"), progress());
  current_ = "GETLDX";
  if (crash_) crash_(current_, CrashPoint::kBeforeSend);
  const std::optional<std::string> ldx = channel_.FetchLdx();
  if (crash_) crash_(current_, CrashPoint::kAnswered);
  current_.clear();
  if (ldx) took(encodings::CodePage852ToUtf8(*ldx));
  journal_.EndFrame(key_, n, ldx, progress());
  if (ldx) return Fetched::kFetched;
  if (!channel_.QueryInfo(protocol::info::kStatus)) return Fetched::kLost;
  // The device is there but hands out no printout: the document stands all the same.
  return ++fetchTries_ < 2 ? Fetched::kAgain : Fetched::kMissing;
}

}  // namespace korvena::service
