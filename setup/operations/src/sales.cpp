#include "korvena/operations/sales.h"

#include "korvena/protocol/frame.h"

namespace korvena::operations {
namespace {

Outcome SendOne(DeviceSession& session, const std::string& frame) {
  Outcome outcome;
  outcome.Send(session, frame);
  return outcome;
}

std::string Frame(const char* command, const Payments& p) {
  return protocol::CommandFrame(command, {p[0], p[1], p[2], p[3], p[4], p[5]});
}

// Takes `step`'s outcome into the document's; false when the device refused it.
bool Took(DocumentPrinted& printed, const Outcome& step) {
  if (!step.ok) printed.outcome.Fail(step.failure);
  return step.ok;
}

}  // namespace

Outcome StartReceipt(DeviceSession& session, int mode) {
  return SendOne(session, protocol::CommandFrame("S", {std::to_string(mode)}));
}

Outcome AddReceiptLine(DeviceSession& session, protocol::LineKind kind, const std::string& quantity,
                       const std::string& unitPrice, char vatLetter, const std::string& text) {
  return SendOne(session, protocol::CommandFrame(protocol::InfoOf(kind).command,
                                                 {quantity, unitPrice, std::string(1, vatLetter), text}));
}

Outcome CloseReceipt(DeviceSession& session, const Payments& payments) { return SendOne(session, Frame("K", payments)); }

Outcome StartInvoice(DeviceSession& session, const std::string& amount, const std::string& text) {
  return SendOne(session, protocol::CommandFrame("F", {amount, text}));
}

Outcome CloseInvoice(DeviceSession& session, const Payments& payments) { return SendOne(session, Frame("KF", payments)); }

DocumentPrinted PrintReceipt(DeviceSession& session, const Receipt& receipt) {
  DocumentPrinted printed;
  if (!Took(printed, StartReceipt(session, receipt.mode))) return printed;
  for (const ReceiptLine& line : receipt.lines) {
    if (!Took(printed, AddReceiptLine(session, line.kind, line.quantity, line.unitPrice, line.vatLetter, line.text)))
      return printed;
    ++printed.linesTaken;
  }
  printed.closed = Took(printed, CloseReceipt(session, receipt.payments));
  return printed;
}

DocumentPrinted PrintInvoice(DeviceSession& session, const Invoice& invoice) {
  DocumentPrinted printed;
  if (!Took(printed, StartInvoice(session, invoice.amount, invoice.text))) return printed;
  printed.closed = Took(printed, CloseInvoice(session, invoice.payments));
  return printed;
}

Outcome RunningReport(DeviceSession& session) { return SendOne(session, protocol::CommandFrame("DX")); }
Outcome DailyClosing(DeviceSession& session) { return SendOne(session, protocol::CommandFrame("DZ")); }

Outcome IntervalReportByNumbers(DeviceSession& session, const std::string& first, const std::string& last) {
  return SendOne(session, protocol::CommandFrame("MI", {first, last}));
}

Outcome IntervalReportByDates(DeviceSession& session, const std::string& first, const std::string& last) {
  return SendOne(session, protocol::CommandFrame("MD", {first, last}));
}

Outcome Deposit(DeviceSession& session, const std::string& amount) {
  return SendOne(session, protocol::CommandFrame("V", {amount}));
}

Outcome Withdraw(DeviceSession& session, const std::string& amount) {
  return SendOne(session, protocol::CommandFrame("V", {"-" + amount}));
}

}  // namespace korvena::operations
