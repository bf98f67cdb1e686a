#pragma once
// A receipt request made ready for the device: checked whole (line types,
// VAT classes, ranges and decimals, texts in code page 852 and their
// lengths), with every frame it may need built from it, and the device's
// arithmetic for any set of its lines. An invoice paid at the till is the
// same document without lines: F opens it with its amount, KF closes it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "korvena/operations/sale_document.h"
#include "korvena/protocol/amounts.h"

namespace korvena::service {

using VatCoefficients = std::array<int64_t, 4>;

// The jobs a ReceiptPlan is made for.
inline constexpr std::string_view kReceiptJob = "receipt";
inline constexpr std::string_view kInvoiceJob = "invoice";

// A line of the request as the device took it: its command may differ from
// the request's (a storno that cancels it, a line that voids it).
struct TakenLine {
  std::size_t line = 0;
  protocol::LineKind kind = protocol::LineKind::kItem;
};

class ReceiptPlan {
 public:
  enum class Form { kReceipt, kInvoice };
  // Throws operations::InvalidInput naming the field when the body is not a
  // receipt (or invoice) the device can take. The payments are checked by Check.
  explicit ReceiptPlan(const nlohmann::json& body, Form form = Form::kReceipt);

  Form form() const { return form_; }
  // "receipt" or "invoice", for messages.
  std::string_view noun() const;
  // The journal's names of the opening and the closing frame: S and K, or F and KF.
  std::string_view OpenName() const;
  std::string_view CloseName() const;

  std::size_t LineCount() const { return document_.figures.size(); }
  protocol::LineKind KindOf(std::size_t line) const { return document_.figures[line].kind; }
  const operations::ReceiptDocument& document() const { return document_; }

  // The total and change the device will compute; InvalidInput when the
  // payments do not close the receipt.
  operations::DocumentTotals Check(const VatCoefficients& coefficients) const;
  // A receipt's figures whatever its payments, the change 0.
  operations::DocumentTotals Price(const VatCoefficients& coefficients) const;

  std::string StartFrame() const;
  // Line `line` of the request sent with `kind`'s command.
  std::string LineFrame(const TakenLine& taken) const;
  std::string CloseFrame() const;
  // Closes a receipt whose lines have been voided: nothing is due.
  static std::string VoidCloseFrame();
  // A close with an amount the device refuses whatever the total: with 1
  // while this form's document is open, with 2 while none is.
  std::string OpenProbeFrame() const;

  // The receipt's running total on the device once it has taken `taken`.
  int64_t TotalOf(const std::vector<TakenLine>& taken, const VatCoefficients& coefficients) const;
  // The quantity of line `line`'s goods that a storno of it could cancel
  // among `taken`: the same text, price and VAT class, items less stornos.
  int64_t StandingQuantity(const std::vector<TakenLine>& taken, std::size_t line) const;

 private:
  Form form_;
  operations::ReceiptDocument document_;  // a receipt's; no lines for an invoice
  operations::InvoiceDocument invoice_;   // an invoice's
};

// The command that undoes a line of `kind` on an open receipt: a storno for
// an item, an item again for a storno, a surcharge for what lowered the
// total and a discount for a surcharge.
protocol::LineKind VoidingKind(protocol::LineKind kind);

// How the journal and the logs name the frames of a receipt.
std::string LineStepName(std::size_t line);  // "L1" for the first line

}  // namespace korvena::service
