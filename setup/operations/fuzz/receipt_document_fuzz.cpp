// Any bytes as a receipt or an invoice sent to the fiscal service or to
// kalibro-cli: the only failure allowed is InvalidInput naming what is
// wrong. A document that passes the check must close as the device would:
// payments cover the total and the change is what they pay over it.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "korvena/operations/invalid_input.h"
#include "korvena/operations/sale_document.h"

namespace {

using korvena::operations::InvalidInput;

int64_t Paid(const korvena::operations::PaymentCents& paid) {
  int64_t sum = 0;
  for (const int64_t cents : paid) sum += cents;
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte picks the VAT coefficients the device would hold.
  if (size == 0) return 0;
  static constexpr std::array<std::array<int64_t, 4>, 4> kCoefficients = {
      {{2000, 1000, 0, 0}, {0, 0, 0, 0}, {10000, 9999, 1, 2300}, {2300, 1900, 700, 500}}};
  const std::array<int64_t, 4>& coefficients = kCoefficients[data[0] % kCoefficients.size()];
  const std::string_view json(reinterpret_cast<const char*>(data + 1), size - 1);
  try {
    const auto receipt = korvena::operations::ReadReceiptDocument(json);
    const auto totals = korvena::operations::CheckReceiptDocument(receipt, coefficients);
    if (totals.changeCents < 0 || Paid(receipt.paid) - totals.changeCents != totals.totalCents) std::abort();
  } catch (const InvalidInput&) {
  }
  try {
    const auto invoice = korvena::operations::ReadInvoiceDocument(json);
    const auto totals = korvena::operations::CheckInvoiceDocument(invoice);
    if (totals.changeCents < 0) std::abort();
  } catch (const InvalidInput&) {
  }
  return 0;
}
