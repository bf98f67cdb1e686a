// Receipts and invoices from JSON: refused with the field named before
// anything is sent, or sent in the device's forms with the totals it will
// compute.
#include "korvena/operations/sale_document.h"

#include <gtest/gtest.h>

#include "korvena/operations/invalid_input.h"

namespace korvena::operations {
namespace {

// VAT coefficients 20 %, 10 %, 0 %, 0 %.
constexpr std::array<int64_t, 4> kCoefficients = {2000, 1000, 0, 0};

std::string Receipt(const std::string& line, const std::string& payments = R"([{"type": "cash", "amount": "10"}])") {
  return R"({"mode": "A", "lines": [)" + line + R"(], "payments": )" + payments + "}";
}
const std::string kLine = R"({"type": "item", "text": "Rožok", "quantity": "2", "unitPrice": "1.25", "vat": "B"})";

struct RefusedCase {
  const char* name;
  std::string json;
  const char* failure;  // a fragment of the message
  friend std::ostream& operator<<(std::ostream& os, const RefusedCase& c) { return os << c.name; }
};

class RefusedReceiptTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedReceiptTest, NamesTheField) {
  const RefusedCase& c = GetParam();
  try {
    CheckReceiptDocument(ReadReceiptDocument(c.json), kCoefficients);
    FAIL() << "taken";
  } catch (const InvalidInput& failure) {
    EXPECT_NE(std::string(failure.what()).find(c.failure), std::string::npos) << failure.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, RefusedReceiptTest,
    ::testing::Values(
        RefusedCase{"no_json", "{\"mode\": ", "the document is no JSON"},
        RefusedCase{"number_beyond_double", "{\"mode\": 4e44444444}", "the document is no JSON: number overflow"},
        RefusedCase{"not_an_object", "[]", "the document must be a JSON object"},
        RefusedCase{"unknown_field", R"({"mode": "A", "lines": [], "payments": [], "date": 1})", "date: no such field"},
        RefusedCase{"missing_field", R"({"mode": "A", "lines": []})", "payments is missing"},
        RefusedCase{"mode", R"({"mode": "F", "lines": [], "payments": []})", "mode must be A, B, C, D or E"},
        RefusedCase{"no_lines", R"({"mode": "A", "lines": [], "payments": []})", "at least one line"},
        RefusedCase{"line_type",
                    Receipt(R"({"type": "gift", "text": "", "quantity": "1", "unitPrice": "1", "vat": "A"})"),
                    "lines[0].type must be item, storno"},
        RefusedCase{"vat_letter",
                    Receipt(R"({"type": "item", "text": "", "quantity": "1", "unitPrice": "1", "vat": "J"})"),
                    "lines[0].vat must be one letter A to I"},
        RefusedCase{"number_not_a_string",
                    Receipt(R"({"type": "item", "text": "", "quantity": 1, "unitPrice": "1", "vat": "A"})"),
                    "lines[0].quantity must be a decimal number in a string"},
        RefusedCase{"four_decimals",
                    Receipt(R"({"type": "item", "text": "", "quantity": "1.0001", "unitPrice": "1", "vat": "A"})"),
                    "lines[0].quantity must be a decimal number"},
        RefusedCase{"three_decimal_price",
                    Receipt(R"({"type": "item", "text": "", "quantity": "1", "unitPrice": "1.001", "vat": "A"})"),
                    "lines[0].unitPrice must be a decimal number"},
        RefusedCase{"text_too_long",
                    Receipt(R"({"type": "item", "text": ")" + std::string(41, 'x') +
                            R"(", "quantity": "1", "unitPrice": "1", "vat": "A"})"),
                    "lines[0].text: 41 characters"},
        RefusedCase{"character_852_lacks",
                    Receipt(R"({"type": "item", "text": "Čaj ☕", "quantity": "1", "unitPrice": "1", "vat": "A"})"),
                    "lines[0].text: the device's code page 852 has no \"☕\""},
        RefusedCase{"semicolon",
                    Receipt(R"({"type": "item", "text": "a;b", "quantity": "1", "unitPrice": "1", "vat": "A"})"),
                    "cannot take \";\""},
        RefusedCase{"amount_too_large",
                    Receipt(R"({"type": "item", "text": "", "quantity": "10000000", "unitPrice": "100", "vat": "A"})"),
                    "more than the device prints"},
        RefusedCase{"payment_type", Receipt(kLine, R"([{"type": "cheque", "amount": "10"}])"),
                    "payments[0].type must be"},
        RefusedCase{"paid_twice",
                    Receipt(kLine, R"([{"type": "cash", "amount": "1"}, {"type": "cash", "amount": "9"}])"),
                    "cash is paid twice"},
        // 2 x 1.25 at 20 % without VAT is 3.00 with it.
        RefusedCase{"payments_short", Receipt(kLine, R"([{"type": "cash", "amount": "2.99"}])"),
                    "the payments (2.99) do not cover the total 3.00"},
        RefusedCase{"card_pays_too_much", Receipt(kLine, R"([{"type": "card", "amount": "3.01"}])"),
                    "only cash may pay more than the total 3.00"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ReceiptDocument, GoesInTheDeviceFormsWithTheTotalItComputes) {
  const ReceiptDocument document = ReadReceiptDocument(
      Receipt(kLine + R"(, {"type": "storno", "text": "Rožok", "quantity": "1", "unitPrice": "1.25", "vat": "B"})",
              R"([{"type": "card", "amount": "1"}, {"type": "cash", "amount": "5"}])"));
  ASSERT_EQ(document.receipt.lines.size(), 2u);
  const ReceiptLine& line = document.receipt.lines[0];
  EXPECT_EQ(line.quantity, "2.000");
  EXPECT_EQ(line.unitPrice, "1.25");
  EXPECT_EQ(line.text, "Ro\xA7ok");  // code page 852
  EXPECT_EQ(document.receipt.lines[1].kind, protocol::LineKind::kStorno);
  EXPECT_EQ(document.receipt.payments, (Payments{"5.00", "1.00", "", "", "", ""}));
  const DocumentTotals totals = CheckReceiptDocument(document, kCoefficients);
  EXPECT_EQ(totals.totalCents, 150);
  EXPECT_EQ(totals.changeCents, 450);
}

TEST(InvoiceDocument, NeedsAnAmountAndATextAndItsPayments) {
  const InvoiceDocument invoice = ReadInvoiceDocument(
      R"({"amount": "120", "text": "Faktúra", "payments": [{"type": "invoice", "amount": "120"}]})");
  EXPECT_EQ(invoice.invoice.amount, "120.00");
  EXPECT_EQ(invoice.invoice.text,
            "Fakt\xA3"
            "ra");
  EXPECT_EQ(CheckInvoiceDocument(invoice).changeCents, 0);
  EXPECT_THROW(ReadInvoiceDocument(R"({"amount": "0", "text": "x", "payments": []})"), InvalidInput);
  EXPECT_THROW(ReadInvoiceDocument(R"({"amount": "5", "text": "", "payments": []})"), InvalidInput);
  EXPECT_THROW(CheckInvoiceDocument(ReadInvoiceDocument(R"({"amount": "5", "text": "x", "payments": []})")),
               InvalidInput);
}

}  // namespace
}  // namespace korvena::operations
