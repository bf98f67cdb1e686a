#pragma once
// Receipts, invoices, reports and cash movements. Numbers go to the device
// as decimal texts; the device judges them.
#include <array>
#include <string>
#include <vector>

#include "korvena/operations/outcome.h"
#include "korvena/protocol/amounts.h"

namespace korvena::operations {

using Payments = std::array<std::string, 6>;  // cash, card, credit, invoice, means 5, means 6; "" for none

// S: opens a receipt in mode 0..4 (A..E).
Outcome StartReceipt(DeviceSession& session, int mode);
// L, LS, LZ, LP, LM or LV with the quantity, unit price, VAT letter and text.
Outcome AddReceiptLine(DeviceSession& session, protocol::LineKind kind, const std::string& quantity,
                       const std::string& unitPrice, char vatLetter, const std::string& text);
// K: pays and closes the receipt.
Outcome CloseReceipt(DeviceSession& session, const Payments& payments);
// F: opens an invoice of `amount` paid at the till.
Outcome StartInvoice(DeviceSession& session, const std::string& amount, const std::string& text);
// KF: pays and closes the invoice.
Outcome CloseInvoice(DeviceSession& session, const Payments& payments);

// A whole receipt: what a script or a till hands over at once.
struct ReceiptLine {
  protocol::LineKind kind = protocol::LineKind::kItem;
  std::string quantity;   // "1.000"
  std::string unitPrice;  // "2.50"
  char vatLetter = 'A';
  std::string text;  // bytes in the device's code page
};
struct Receipt {
  int mode = 0;
  std::vector<ReceiptLine> lines;
  Payments payments;
};
struct Invoice {
  std::string amount;
  std::string text;
  Payments payments;
};

// What a whole document came to: the frames the device took, and the first
// refusal. A document refused midway is left as the device has it; the
// caller decides what to do with it.
struct DocumentPrinted {
  Outcome outcome;
  int linesTaken = 0;
  bool closed = false;
};
DocumentPrinted PrintReceipt(DeviceSession& session, const Receipt& receipt);
DocumentPrinted PrintInvoice(DeviceSession& session, const Invoice& invoice);

// DX: the running (X) report; DZ: the daily closing (Z).
Outcome RunningReport(DeviceSession& session);
Outcome DailyClosing(DeviceSession& session);
// MI and MD: the closings from `first` to `last`, by number or by date.
Outcome IntervalReportByNumbers(DeviceSession& session, const std::string& first, const std::string& last);
Outcome IntervalReportByDates(DeviceSession& session, const std::string& first, const std::string& last);

// V: a deposit, or a withdrawal (the amount with a "-" before it). The
// amount goes as given, even empty: the device judges it.
Outcome Deposit(DeviceSession& session, const std::string& amount);
Outcome Withdraw(DeviceSession& session, const std::string& amount);

}  // namespace korvena::operations
