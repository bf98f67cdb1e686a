#pragma once
// Receipts and invoices as JSON documents, checked whole before anything is
// sent: every field, every number's form, every text in the device's code
// page, and that the payments close the document as the device will compute
// it. kalibro-cli and the fiscal service take the same documents. Failures
// are InvalidInput naming the field, e.g. "lines[1].vat".
//
//   receipt: {"mode": "A", "lines": [{"type": "item", "text": "Rožok", "quantity": "2.000",
//             "unitPrice": "0.15", "vat": "B"}], "payments": [{"type": "cash", "amount": "1.00"}]}
//   invoice: {"amount": "120.00", "text": "Faktúra 2026/17", "payments": [{"type": "card", "amount": "120.00"}]}
#include <array>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string_view>
#include <vector>

#include "korvena/operations/sales.h"
#include "korvena/protocol/amounts.h"

namespace korvena::operations {

// The receipt modes in the order S numbers them (MOD A is 0).
inline constexpr std::string_view kReceiptModes = "ABCDE";

using PaymentCents = std::array<int64_t, 6>;  // by means of payment, protocol::kPaymentMeans

struct ReceiptDocument {
  Receipt receipt;                          // as it goes to the device
  std::vector<protocol::SaleLine> figures;  // its lines as numbers
  PaymentCents paid{};
};

struct InvoiceDocument {
  Invoice invoice;
  int64_t amountCents = 0;
  PaymentCents paid{};
};

// From JSON text ("the document is no JSON" when it does not parse), or
// from a document parsed already.
ReceiptDocument ReadReceiptDocument(std::string_view json);
ReceiptDocument ReceiptDocumentOf(const nlohmann::json& document);
InvoiceDocument ReadInvoiceDocument(std::string_view json);
InvoiceDocument InvoiceDocumentOf(const nlohmann::json& document);

struct DocumentTotals {
  int64_t totalCents = 0;
  int64_t changeCents = 0;
  protocol::ReceiptFigures figures;
};

// The figures the device will compute with its VAT coefficients (0.01 %);
// InvalidInput when the payments do not close the document.
DocumentTotals CheckReceiptDocument(const ReceiptDocument& document, const std::array<int64_t, 4>& coefficients);
// The same figures whatever the payments, the change 0: the price of the lines.
DocumentTotals PriceReceiptDocument(const ReceiptDocument& document, const std::array<int64_t, 4>& coefficients);
DocumentTotals CheckInvoiceDocument(const InvoiceDocument& document);

}  // namespace korvena::operations
