// receipt, invoice, report and cash: the documents the device prints.
#include <tuple>

#include "argument_forms.h"
#include "cli_command.h"
#include "cli_failure.h"
#include "cli_files.h"
#include "device_values.h"
#include "korvena/operations/fiscal_identity.h"
#include "korvena/operations/sales.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/operations/sale_document.h"

namespace korvena::cli {
namespace {

namespace info = protocol::info;
using operations::DocumentTotals;
using operations::InvoiceDocument;
using operations::kReceiptModes;
using operations::PaymentCents;
using operations::ReceiptDocument;

// A document of a few hundred lines is far below this.
constexpr std::size_t kLargestDocument = 1 << 20;
constexpr int kHighestClosing = 999999;

Result PaymentsResult(const PaymentCents& paid) {
  Result payments = Result::object();
  for (std::size_t i = 0; i < paid.size(); ++i)
    if (paid[i] != 0) payments[std::string(protocol::kPaymentMeans[i])] = MoneyText(paid[i]);
  return payments;
}

// A refusal midway leaves the document as the device has it: open, with
// the lines it took.
void RequirePrinted(const operations::DocumentPrinted& printed, std::string_view doing) {
  if (printed.outcome.ok) return;
  CliFailure failure = SessionFailureOf(printed.outcome.failure, doing);
  failure.detail() = {{"linesTaken", printed.linesTaken}, {"closed", printed.closed}};
  throw failure;
}

Result PrintedResult(DeviceSession& session, const DocumentTotals& totals, const PaymentCents& paid) {
  Result result = {{"total", MoneyText(totals.totalCents)},
                   {"paid", PaymentsResult(paid)},
                   {"change", MoneyText(totals.changeCents)}};
  AddInfoValues(session, {info::kLastDocument}, result);
  return result;
}

std::array<int64_t, 4> DeviceVatCoefficients(DeviceSession& session) {
  const std::array<std::optional<int32_t>, 4> read = operations::ReadVatCoefficients(session);
  std::array<int64_t, 4> coefficients{};
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (!read[i])
      throw CliFailure(kExitNoDevice, "no-answer",
                       "receipt: the device did not give its VAT coefficient " + std::to_string(i + 1));
    coefficients[i] = *read[i];
  }
  return coefficients;
}

Plan PlanReceipt(Arguments& arguments) {
  const std::string path = arguments.Next("FILE.json or -");
  arguments.Done();
  const std::string json = ReadInputOrStandardInput(path, kLargestDocument);
  const ReceiptDocument document = AsUsageFailure([&] { return operations::ReadReceiptDocument(json); });
  return {false, [document](DeviceSession& session) {
            // The totals as the device computes them, before anything is sent.
            const std::array<int64_t, 4> coefficients = DeviceVatCoefficients(session);
            const DocumentTotals totals =
                AsUsageFailure([&] { return operations::CheckReceiptDocument(document, coefficients); });
            const operations::DocumentPrinted printed = operations::PrintReceipt(session, document.receipt);
            RequirePrinted(printed, "receipt");
            Result vat = Result::array();
            for (std::size_t rate = 0; rate < totals.figures.byRate.size(); ++rate) {
              const protocol::VatSplit& split = totals.figures.byRate[rate];
              if (split.Gross() != 0 || split.vat != 0)
                vat.push_back({{"rate", rate}, {"base", MoneyText(split.base)}, {"vat", MoneyText(split.vat)}});
            }
            Result result = {{"document", "receipt"},
                             {"mode", std::string(1, kReceiptModes[static_cast<std::size_t>(document.receipt.mode)])},
                             {"linesTaken", printed.linesTaken}};
            result.update(PrintedResult(session, totals, document.paid));
            result["vat"] = vat;
            return result;
          }};
}

Plan PlanInvoice(Arguments& arguments) {
  const std::string path = arguments.Next("FILE.json or -");
  arguments.Done();
  const std::string json = ReadInputOrStandardInput(path, kLargestDocument);
  const InvoiceDocument document = AsUsageFailure([&] { return operations::ReadInvoiceDocument(json); });
  const DocumentTotals totals = AsUsageFailure([&] { return operations::CheckInvoiceDocument(document); });
  return {false, [document, totals](DeviceSession& session) {
            RequirePrinted(operations::PrintInvoice(session, document.invoice), "invoice");
            Result result = {{"document", "invoice"}};
            result.update(PrintedResult(session, totals, document.paid));
            return result;
          }};
}

// A closing date as the device's MD takes it: day, month and year as three fields.
std::string ClosingDateFields(const LocalDate& date) {
  return std::to_string(date.day) + ";" + std::to_string(date.month) + ";" + std::to_string(date.year);
}

Plan PlanInterval(Arguments& arguments) {
  const bool byDates = arguments.NextOf("--numbers or --dates", {"--numbers", "--dates"}) == "--dates";
  const std::string first = arguments.Next(byDates ? "D1" : "A");
  const std::string last = arguments.Next(byDates ? "D2" : "B");
  arguments.Done();
  if (byDates) {
    const LocalDate from = ParseDate(first, "report interval: D1");
    const LocalDate to = ParseDate(last, "report interval: D2");
    if (std::tie(from.year, from.month, from.day) > std::tie(to.year, to.month, to.day))
      FailInvalid("report interval: D1 comes after D2");
    return {false, [from, to, first, last](DeviceSession& session) {
              Require(operations::IntervalReportByDates(session, ClosingDateFields(from), ClosingDateFields(to)),
                      "report interval");
              return Result{{"report", "interval"}, {"firstDate", first}, {"lastDate", last}};
            }};
  }
  const int a = ParseWholeNumber(first, 1, kHighestClosing, "report interval: A");
  const int b = ParseWholeNumber(last, 1, kHighestClosing, "report interval: B");
  if (a > b) FailInvalid("report interval: A is above B");
  return {false, [a, b](DeviceSession& session) {
            Require(operations::IntervalReportByNumbers(session, std::to_string(a), std::to_string(b)),
                    "report interval");
            return Result{{"report", "interval"}, {"firstClosing", a}, {"lastClosing", b}};
          }};
}

Plan PlanReport(Arguments& arguments) {
  const std::string kind = arguments.NextOf("running, closing or interval", {"running", "closing", "interval"});
  if (kind == "interval") return PlanInterval(arguments);
  const bool confirmed = arguments.Flag("--yes");
  arguments.Done();
  if (kind == "running")
    return {false, [](DeviceSession& session) {
              Require(operations::RunningReport(session), "report running");
              return Result{{"report", "running"}};
            }};
  if (!confirmed) FailUsage("report closing: the daily closing is final; add --yes to go on");
  return {
      false, [](DeviceSession& session) {
        Require(operations::DailyClosing(session), "report closing");
        Result result = {{"report", "closing"}};
        AddInfoValues(session, {info::kLastClosingDate, info::kAutomaticClosing, info::kDocumentsAtClosing}, result);
        return result;
      }};
}

Plan PlanCash(Arguments& arguments) {
  const bool deposit = arguments.NextOf("deposit or withdraw", {"deposit", "withdraw"}) == "deposit";
  const int64_t cents = ParseAmount(arguments.Next("AMOUNT"), 2, "cash: AMOUNT");
  arguments.Done();
  if (cents == 0) FailInvalid("cash: AMOUNT must be above 0");
  return {false, [deposit, cents](DeviceSession& session) {
            const std::string amount = MoneyText(cents);
            Require(deposit ? operations::Deposit(session, amount) : operations::Withdraw(session, amount),
                    deposit ? "cash deposit" : "cash withdraw");
            Result result = {{deposit ? "deposited" : "withdrawn", amount}};
            if (deposit)
              AddInfoValues(session, {info::kDeposits, info::kDeposits + 1}, result);
            else
              AddInfoValues(session, {info::kWithdrawals, info::kWithdrawals + 1}, result);
            return result;
          }};
}

constexpr Command kCommands[] = {
    {"receipt", "receipt FILE.json|-",
     "Prints a receipt described in JSON (\"-\": from standard input): {\"mode\": \"A\", \"lines\": [{\"type\": "
     "\"item\", \"text\": \"...\", \"quantity\": \"1.000\", \"unitPrice\": \"2.50\", \"vat\": \"B\"}], "
     "\"payments\": [{\"type\": \"cash\", \"amount\": \"5.00\"}]}. Line types: item, storno, discount, "
     "surcharge, negative, return; payments: cash, card, credit, invoice, means5, means6. Amounts are strings "
     "with at most two decimals, quantities with at most three; texts at most 40 characters. Everything is "
     "checked first, and the payments against the total the device will compute with its VAT coefficients. "
     "Shows the total, the payments, the change and the device's document number.",
     PlanReceipt},
    {"invoice", "invoice FILE.json|-",
     "Prints an invoice paid at the till: {\"amount\": \"120.00\", \"text\": \"...\", \"payments\": [...]}, "
     "checked as a receipt is.",
     PlanInvoice},
    {"report", "report running\nreport closing --yes\nreport interval --numbers A B\nreport interval --dates D1 D2",
     "Prints the running daily report (X), the daily closing (Z, final: it needs --yes), or the interval report "
     "over the closings numbered A to B or dated D1 to D2 (dd.mm.yyyy).",
     PlanReport},
    {"cash", "cash deposit AMOUNT\ncash withdraw AMOUNT",
     "Records cash put into or taken out of the drawer (AMOUNT with at most two decimals); shows the day's "
     "total and count.",
     PlanCash},
};

}  // namespace

std::span<const Command> SalesCommands() { return kCommands; }

}  // namespace korvena::cli
