#pragma once
// The receipts and invoices kalibro-cli prints, read from JSON and checked
// whole before anything is sent: every field, every number's form, every
// text in the device's code page, and that the payments close the document
// as the device will compute it.
//
//   receipt: {"mode": "A", "lines": [{"type": "item", "text": "Rožok", "quantity": "2.000",
//             "unitPrice": "0.15", "vat": "B"}], "payments": [{"type": "cash", "amount": "1.00"}]}
//   invoice: {"amount": "120.00", "text": "Faktúra 2026/17", "payments": [{"type": "card", "amount": "120.00"}]}
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "korvena/operations/sales.h"
#include "korvena/protocol/amounts.h"

namespace korvena::cli {

// The receipt modes in the order S numbers them (MOD A is 0).
inline constexpr std::string_view kReceiptModes = "ABCDE";

using PaymentCents = std::array<int64_t, 6>;  // by means of payment, protocol::kPaymentMeans

struct ReceiptDocument {
  operations::Receipt receipt;              // as it goes to the device
  std::vector<protocol::SaleLine> figures;  // its lines as numbers
  PaymentCents paid{};
};

struct InvoiceDocument {
  operations::Invoice invoice;
  int64_t amountCents = 0;
  PaymentCents paid{};
};

// An invalid failure (exit status 2) naming the field, e.g. "lines[1].vat".
ReceiptDocument ReadReceiptDocument(std::string_view json);
InvoiceDocument ReadInvoiceDocument(std::string_view json);

struct DocumentTotals {
  int64_t totalCents = 0;
  int64_t changeCents = 0;
  protocol::ReceiptFigures figures;
};

// The figures the device will compute with its VAT coefficients (0.01 %);
// an invalid failure when the payments do not close the document.
DocumentTotals CheckReceiptDocument(const ReceiptDocument& document, const std::array<int64_t, 4>& coefficients);
DocumentTotals CheckInvoiceDocument(const InvoiceDocument& document);

}  // namespace korvena::cli
