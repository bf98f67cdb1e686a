#include "korvena/operations/sale_document.h"

#include <algorithm>
#include <initializer_list>
#include <nlohmann/json.hpp>

#include "korvena/operations/amount_field.h"
#include "korvena/operations/device_text.h"
#include "korvena/operations/invalid_input.h"
#include "korvena/protocol/text_limits.h"
#include "korvena/protocol/vat_classes.h"

namespace korvena::operations {
namespace {

using Json = nlohmann::json;

constexpr int kCentDecimals = 2;
constexpr int kQuantityDecimals = 3;

Json Parsed(std::string_view text) {
  try {
    return Json::parse(text);
  } catch (const Json::exception& error) {
    // A parse error, or a number beyond a double (out_of_range.406):
    // "[json.exception.parse_error.101] parse error at line 1, ...": the part after the tag.
    const std::string what = error.what();
    const std::size_t tag = what.find("] ");
    FailInvalidInput("the document is no JSON: " + (tag == std::string::npos ? what : what.substr(tag + 2)));
  }
}

std::string Where(const std::string& path, std::string_view field) {
  return (path.empty() ? "" : path + ".") + std::string(field);
}

// `value` an object with exactly `fields`; `path` is "" for the document itself.
void CheckObject(const Json& value, const std::string& path, std::initializer_list<std::string_view> fields) {
  if (!value.is_object()) FailInvalidInput((path.empty() ? "the document" : path) + " must be a JSON object");
  for (const auto& [key, field] : value.items())
    if (std::find(fields.begin(), fields.end(), key) == fields.end()) FailInvalidInput(Where(path, key) + ": no such field");
  for (const std::string_view field : fields)
    if (!value.contains(field)) FailInvalidInput(Where(path, field) + " is missing");
}

std::string Text(const Json& object, std::string_view field, const std::string& path) {
  const Json& value = object.at(field);
  if (!value.is_string()) FailInvalidInput(Where(path, field) + " must be a string");
  return value.get<std::string>();
}

// A decimal field: a string, not a JSON number, so that nothing is rounded on the way.
int64_t Decimal(const Json& object, std::string_view field, const std::string& path, int decimals) {
  const Json& value = object.at(field);
  if (!value.is_string()) FailInvalidInput(Where(path, field) + " must be a decimal number in a string, such as \"2.50\"");
  return ParseAmount(value.get<std::string>(), decimals, Where(path, field));
}

const Json& ArrayField(const Json& object, std::string_view field) {
  const Json& value = object.at(field);
  if (!value.is_array()) FailInvalidInput(std::string(field) + " must be a JSON array");
  return value;
}

Payments ReadPayments(const Json& document, PaymentCents& cents) {
  Payments texts;
  std::array<bool, 6> given{};
  const Json& payments = ArrayField(document, "payments");
  for (std::size_t i = 0; i < payments.size(); ++i) {
    const std::string path = "payments[" + std::to_string(i) + "]";
    CheckObject(payments[i], path, {"type", "amount"});
    const std::string type = Text(payments[i], "type", path);
    const std::optional<int> means = protocol::FindPaymentMeans(type);
    if (!means) FailInvalidInput(path + ".type must be cash, card, credit, invoice, means5 or means6, not \"" + type + "\"");
    const auto at = static_cast<std::size_t>(*means);
    if (given[at]) FailInvalidInput(path + ".type: " + type + " is paid twice");
    given[at] = true;
    cents[at] = Decimal(payments[i], "amount", path, kCentDecimals);
    texts[at] = AmountText(cents[at], kCentDecimals);
  }
  return texts;
}

void ReadLine(const Json& line, const std::string& path, ReceiptDocument& document) {
  CheckObject(line, path, {"type", "text", "quantity", "unitPrice", "vat"});
  const std::string type = Text(line, "type", path);
  const std::optional<protocol::LineKindInfo> kind = protocol::FindLineKind(type);
  if (!kind)
    FailInvalidInput(path + ".type must be item, storno, discount, surcharge, negative or return, not \"" + type + "\"");
  const std::string vat = Text(line, "vat", path);
  if (vat.size() != 1 || !protocol::FindVatClass(vat)) FailInvalidInput(path + ".vat must be one letter A to I");
  protocol::SaleLine figures{kind->kind, Decimal(line, "quantity", path, kQuantityDecimals),
                             Decimal(line, "unitPrice", path, kCentDecimals), vat.front()};
  if (figures.quantityThousandths == 0) FailInvalidInput(path + ".quantity must be above 0");
  if (!protocol::LineAmountCents(figures.quantityThousandths, figures.unitPriceCents))
    FailInvalidInput(path + ": quantity times unit price is more than the device prints");
  ReceiptLine sent;
  sent.kind = kind->kind;
  sent.quantity = AmountText(figures.quantityThousandths, kQuantityDecimals);
  sent.unitPrice = AmountText(figures.unitPriceCents, kCentDecimals);
  sent.vatLetter = figures.vatLetter;
  sent.text = DeviceText(Text(line, "text", path), path + ".text", protocol::kLongestLineText);
  document.receipt.lines.push_back(std::move(sent));
  document.figures.push_back(figures);
}

int64_t Paid(const PaymentCents& paid) {
  int64_t sum = 0;
  for (const int64_t cents : paid) sum += cents;
  return sum;
}

DocumentTotals Closed(int64_t totalCents, const PaymentCents& paid) {
  const protocol::PaymentCheck check = protocol::CheckPayments(totalCents, paid);
  switch (check.outcome) {
    case protocol::PaymentCheck::kShort:
      FailInvalidInput("the payments (" + MoneyText(Paid(paid)) + ") do not cover the total " + MoneyText(totalCents));
    case protocol::PaymentCheck::kNonCashTooHigh:
      FailInvalidInput("only cash may pay more than the total " + MoneyText(totalCents));
    case protocol::PaymentCheck::kCloses: break;
  }
  return {totalCents, check.changeCents, {}};
}

}  // namespace

ReceiptDocument ReadReceiptDocument(std::string_view json) { return ReceiptDocumentOf(Parsed(json)); }

ReceiptDocument ReceiptDocumentOf(const Json& document) {
  CheckObject(document, "", {"mode", "lines", "payments"});
  ReceiptDocument read;
  const std::string mode = Text(document, "mode", "");
  if (mode.size() != 1 || kReceiptModes.find(mode.front()) == std::string_view::npos)
    FailInvalidInput("mode must be A, B, C, D or E, not \"" + mode + "\"");
  read.receipt.mode = static_cast<int>(kReceiptModes.find(mode.front()));
  const Json& lines = ArrayField(document, "lines");
  if (lines.empty()) FailInvalidInput("lines: a receipt needs at least one line");
  for (std::size_t i = 0; i < lines.size(); ++i) ReadLine(lines[i], "lines[" + std::to_string(i) + "]", read);
  read.receipt.payments = ReadPayments(document, read.paid);
  return read;
}

InvoiceDocument ReadInvoiceDocument(std::string_view json) { return InvoiceDocumentOf(Parsed(json)); }

InvoiceDocument InvoiceDocumentOf(const Json& document) {
  CheckObject(document, "", {"amount", "text", "payments"});
  InvoiceDocument read;
  read.amountCents = Decimal(document, "amount", "", kCentDecimals);
  if (read.amountCents == 0) FailInvalidInput("amount must be above 0");
  read.invoice.amount = MoneyText(read.amountCents);
  read.invoice.text = DeviceText(Text(document, "text", ""), "text", protocol::kLongestLineText);
  if (read.invoice.text.empty()) FailInvalidInput("text: an invoice needs a text");
  read.invoice.payments = ReadPayments(document, read.paid);
  return read;
}

DocumentTotals PriceReceiptDocument(const ReceiptDocument& document, const std::array<int64_t, 4>& coefficients) {
  const std::optional<protocol::ReceiptFigures> figures = protocol::ComputeReceipt(document.figures, coefficients);
  if (!figures) FailInvalidInput("lines: an amount is more than the device prints");
  return {figures->totalCents, 0, *figures};
}

DocumentTotals CheckReceiptDocument(const ReceiptDocument& document, const std::array<int64_t, 4>& coefficients) {
  DocumentTotals totals = PriceReceiptDocument(document, coefficients);
  totals.changeCents = Closed(totals.totalCents, document.paid).changeCents;
  return totals;
}

DocumentTotals CheckInvoiceDocument(const InvoiceDocument& document) {
  return Closed(document.amountCents, document.paid);
}

}  // namespace korvena::operations
