// The frame in doubt, settled from the journal and from the device with
// exchanges that print nothing: the counters tell whether K closed the
// receipt; K;-1 whether a receipt is open; a card payment the device must
// refuse, on which side of it the running total lies. A line that the
// total cannot tell is settled by a printed storno of it when nothing else
// that storno could cancel stands on the receipt; otherwise the job is
// unknown. docs/service-recovery.md gives the reasons.
#include "korvena/operations/amount_field.h"
#include "korvena/protocol/amounts.h"
#include "korvena/protocol/device_status.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/service/receipt_job.h"
#include "korvena/service/total_probe.h"

namespace korvena::service {
namespace {

using Phase = ReceiptProgress::Phase;
using operations::MoneyText;
using protocol::LineKind;

std::string Article(const std::string& noun) { return (noun.front() == 'i' ? "an " : "a ") + noun; }

}  // namespace

std::string ReceiptJob::ProbeName() const { return std::string(plan_.CloseName()) + ";-1"; }

ReceiptJob::Flow ReceiptJob::Settle() {
  const PendingFrame pending = *progress_.pending;
  switch (pending.step) {
    case Step::kFetch:
      // GETLDX prints nothing: it is simply asked again.
      progress_.pending.reset();
      Save();
      return Flow::kGoOn;
    case Step::kOpen: return SettleOpen();
    case Step::kClose: return SettleClose();
    case Step::kCheck:
      return Unknown("the storno sent to tell whether " + LineStepName(pending.line->line) +
                     " was printed got no clear answer");
    case Step::kLine:
    case Step::kVoid: return SettleLine(pending);
  }
  return Flow::kGoOn;
}

ReceiptJob::Flow ReceiptJob::SettleOpen() {
  const std::string open(plan_.OpenName());
  const std::string noun(plan_.noun());
  switch (ProbeOpenReceipt()) {
    case OpenReceipt::kSilent: return Flow::kLost;
    case OpenReceipt::kUnclear: return Unknown(ProbeName() + " got an answer that tells nothing");
    case OpenReceipt::kOpen:
      Note(open + " was taken: " + Article(noun) + " is open (" + ProbeName() + " answered 1)");
      progress_.phase = Phase::kOpen;
      break;
    case OpenReceipt::kNone:
      Note(open + " was not taken: no " + noun + " is open (" + ProbeName() + " answered 2)");
      break;
  }
  progress_.pending.reset();
  Save();
  return Flow::kGoOn;
}

ReceiptJob::Flow ReceiptJob::SettleClose() {
  bool silent = false;
  const std::optional<int64_t> closed = QueryCount(protocol::info::kSalesDocuments, silent);
  if (silent) return Flow::kLost;
  const std::string close(plan_.CloseName());
  const std::string noun(plan_.noun());
  if (!closed) return Unknown("info 51 (receipts closed) does not read as a number");
  if (*closed > progress_.before->salesDocuments) {
    Note(close + " was taken: receipts closed went from " + std::to_string(progress_.before->salesDocuments) + " to " +
         std::to_string(*closed));
    progress_.phase = Phase::kClosed;
  } else {
    switch (ProbeOpenReceipt()) {
      case OpenReceipt::kSilent: return Flow::kLost;
      case OpenReceipt::kOpen: Note(close + " was not taken: receipts closed stayed, and the " + noun + " is open"); break;
      case OpenReceipt::kNone: return Unknown("no " + noun + " was closed, and none is open");
      case OpenReceipt::kUnclear: return Unknown(ProbeName() + " got an answer that tells nothing");
    }
  }
  progress_.pending.reset();
  Save();
  return Flow::kGoOn;
}

ReceiptJob::Flow ReceiptJob::SettleLine(const PendingFrame& pending) {
  switch (ProbeOpenReceipt()) {
    case OpenReceipt::kSilent: return Flow::kLost;
    case OpenReceipt::kNone: return Unknown("the receipt " + pending.purpose + " belongs to is no longer open");
    case OpenReceipt::kUnclear: return Unknown(ProbeName() + " got an answer that tells nothing");
    case OpenReceipt::kOpen: break;
  }
  const TakenLine line = *pending.line;
  Told told = TellByTotal(line);
  if (told == Told::kLost) return Flow::kLost;
  if (told == Told::kUnclear) return Unknown("the card payment sent to tell the total got an answer that tells nothing");
  if (told == Told::kCannotTell) {
    // A storno cancels any identical item standing on the receipt, so it tells
    // only while less than the line's quantity of such items stands.
    const int64_t quantity = plan_.document().figures[line.line].quantityThousandths;
    if (pending.step == Step::kLine && line.kind == LineKind::kItem &&
        plan_.StandingQuantity(progress_.taken, line.line) < quantity)
      return StornoCheck(line);
    return Unknown(pending.purpose + " changes the total by less than the device's answers can tell, "
                   "and a storno could not tell it either");
  }
  if (told == Told::kTaken) {
    Note(pending.purpose + " was taken: the total shows it");
    progress_.taken.push_back(line);
    if (pending.step == Step::kLine) ++progress_.next;
    if (pending.step == Step::kVoid) ++progress_.voided;
  } else {
    Note(pending.purpose + " was not taken: the total shows it missing");
  }
  progress_.pending.reset();
  Save();
  return Flow::kGoOn;
}

ReceiptJob::Flow ReceiptJob::StornoCheck(const TakenLine& line) {
  const TakenLine storno{line.line, LineKind::kStorno};
  const Sent sent = SendFrame(Step::kCheck, "check " + LineStepName(line.line), plan_.LineFrame(storno), storno);
  if (sent.kind == SentFrame::kTaken) {
    // It cancelled the line in doubt, which was there; the line goes again.
    Note(LineStepName(line.line) + " was taken: its storno was taken, so it was there; it is printed again");
    progress_.taken.push_back(line);
    progress_.taken.push_back(storno);
    progress_.pending.reset();
  } else if (sent.kind == SentFrame::kRefused && sent.status == protocol::status::kBadArgument) {
    Note(LineStepName(line.line) + " was not taken: its storno was refused with 1, nothing to cancel");
    progress_.pending.reset();
  } else if (sent.kind == SentFrame::kRefused) {
    Conclude(sent);
    return Unknown("the storno sent to tell " + LineStepName(line.line) + " was refused with " +
                   std::to_string(sent.status));
  }
  Conclude(sent);
  if (sent.kind == SentFrame::kSilent) return Flow::kLost;
  if (sent.kind == SentFrame::kUnclear) return Settle();
  return Flow::kGoOn;
}

ReceiptJob::OpenReceipt ReceiptJob::ProbeOpenReceipt() {
  const Sent sent = SendProbe(plan_.OpenProbeFrame());
  if (sent.kind == SentFrame::kSilent) return OpenReceipt::kSilent;
  if (sent.kind == SentFrame::kRefused && sent.status == protocol::status::kBadArgument) return OpenReceipt::kOpen;
  if (sent.kind == SentFrame::kRefused && sent.status == protocol::status::kNotNow) return OpenReceipt::kNone;
  return OpenReceipt::kUnclear;
}

ReceiptJob::Told ReceiptJob::TellByTotal(const TakenLine& line) {
  const VatCoefficients& coefficients = *progress_.coefficients;
  const int64_t without = plan_.TotalOf(progress_.taken, coefficients);
  std::vector<TakenLine> with = progress_.taken;
  with.push_back(line);
  const int64_t withLine = plan_.TotalOf(with, coefficients);
  const std::optional<int64_t> card = SeparatingCardAmount(without, withLine);
  if (!card) return Told::kCannotTell;
  const Sent sent = SendProbe(CardProbeFrame(*card));
  if (sent.kind == SentFrame::kSilent) return Told::kLost;
  if (sent.kind != SentFrame::kRefused ||
      (sent.status != protocol::status::kPaymentShort && sent.status != protocol::status::kBadArgument))
    return Told::kUnclear;
  // 3: the card pays less than the total; 1: more than it.
  const bool aboveCard = sent.status == protocol::status::kPaymentShort;
  Note("a card payment of " + MoneyText(*card) + " was refused with " + std::to_string(sent.status) +
       ": the total lies " + (aboveCard ? "above" : "below") + " it (" + MoneyText(without) + " without the line, " +
       MoneyText(withLine) + " with it)");
  return aboveCard == (withLine > without) ? Told::kTaken : Told::kNotTaken;
}

std::optional<int64_t> ReceiptJob::QueryCount(int info, bool& silent) {
  const std::optional<std::string> answer = channel_.QueryInfo(info);
  silent = !answer;
  if (!answer) return std::nullopt;
  return protocol::ParseDecimal(*answer, 0);
}

}  // namespace korvena::service
