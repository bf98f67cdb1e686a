#include "korvena/service/receipt_plan.h"

#include <nlohmann/json.hpp>

#include "korvena/protocol/frame.h"
#include "korvena/service/total_probe.h"

namespace korvena::service {

using protocol::LineKind;

ReceiptPlan::ReceiptPlan(const nlohmann::json& body, Form form) : form_(form) {
  if (form == Form::kInvoice)
    invoice_ = operations::InvoiceDocumentOf(body);
  else
    document_ = operations::ReceiptDocumentOf(body);
}

std::string_view ReceiptPlan::noun() const { return form_ == Form::kInvoice ? "invoice" : "receipt"; }
std::string_view ReceiptPlan::OpenName() const { return form_ == Form::kInvoice ? "F" : "S"; }
std::string_view ReceiptPlan::CloseName() const { return form_ == Form::kInvoice ? "KF" : "K"; }

operations::DocumentTotals ReceiptPlan::Check(const VatCoefficients& coefficients) const {
  if (form_ == Form::kInvoice) return operations::CheckInvoiceDocument(invoice_);
  return operations::CheckReceiptDocument(document_, coefficients);
}

operations::DocumentTotals ReceiptPlan::Price(const VatCoefficients& coefficients) const {
  return operations::PriceReceiptDocument(document_, coefficients);
}

std::string ReceiptPlan::StartFrame() const {
  if (form_ == Form::kInvoice) return protocol::CommandFrame("F", {invoice_.invoice.amount, invoice_.invoice.text});
  return protocol::CommandFrame("S", {std::to_string(document_.receipt.mode)});
}

std::string ReceiptPlan::LineFrame(const TakenLine& taken) const {
  const operations::ReceiptLine& line = document_.receipt.lines[taken.line];
  return protocol::CommandFrame(protocol::InfoOf(taken.kind).command,
                                {line.quantity, line.unitPrice, std::string(1, line.vatLetter), line.text});
}

std::string ReceiptPlan::CloseFrame() const {
  const operations::Payments& p = form_ == Form::kInvoice ? invoice_.invoice.payments : document_.receipt.payments;
  return protocol::CommandFrame(std::string(CloseName()), {p[0], p[1], p[2], p[3], p[4], p[5]});
}

std::string ReceiptPlan::VoidCloseFrame() { return protocol::CommandFrame("K", {"0"}); }

std::string ReceiptPlan::OpenProbeFrame() const {
  return form_ == Form::kInvoice ? protocol::CommandFrame("KF", {"-1"}) : OpenReceiptProbeFrame();
}

int64_t ReceiptPlan::TotalOf(const std::vector<TakenLine>& taken, const VatCoefficients& coefficients) const {
  std::vector<protocol::SaleLine> lines;
  for (const TakenLine& t : taken) {
    protocol::SaleLine line = document_.figures[t.line];
    line.kind = t.kind;
    lines.push_back(line);
  }
  // Every line was checked against the device's limits when the plan was made.
  return protocol::ComputeReceipt(lines, coefficients).value_or(protocol::ReceiptFigures{}).totalCents;
}

int64_t ReceiptPlan::StandingQuantity(const std::vector<TakenLine>& taken, std::size_t line) const {
  const operations::ReceiptLine& goods = document_.receipt.lines[line];
  const protocol::SaleLine& figures = document_.figures[line];
  int64_t standing = 0;
  for (const TakenLine& t : taken) {
    const operations::ReceiptLine& other = document_.receipt.lines[t.line];
    const protocol::SaleLine& otherFigures = document_.figures[t.line];
    if (other.text != goods.text || otherFigures.unitPriceCents != figures.unitPriceCents ||
        otherFigures.vatLetter != figures.vatLetter)
      continue;
    if (t.kind == LineKind::kItem) standing += otherFigures.quantityThousandths;
    if (t.kind == LineKind::kStorno) standing -= otherFigures.quantityThousandths;
  }
  return standing;
}

LineKind VoidingKind(LineKind kind) {
  switch (kind) {
    case LineKind::kItem: return LineKind::kStorno;
    case LineKind::kStorno: return LineKind::kItem;
    case LineKind::kSurcharge: return LineKind::kDiscount;
    case LineKind::kDiscount:
    case LineKind::kNegative:
    case LineKind::kReturn: return LineKind::kSurcharge;
  }
  return LineKind::kStorno;
}

std::string LineStepName(std::size_t line) { return "L" + std::to_string(line + 1); }

}  // namespace korvena::service
