#pragma once
// How the device computes the amounts of a document, so that a program can
// check a receipt before it sends it and know the total the device will
// print: amounts in cents, quantities in thousandths, each line's amount
// rounded to the cent, half away from zero.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "korvena/protocol/vat_classes.h"

namespace korvena::protocol {

// A line's or an invoice's amount beyond this is more than the device prints.
inline constexpr int64_t kLargestAmountCents = 10'000'000'000;
// A quantity or price beyond this is more than the device holds (units, not cents).
inline constexpr int64_t kLargestNumber = 10'000'000;

// numerator / denominator rounded half away from zero; denominator > 0.
int64_t RoundedQuotient(int64_t numerator, int64_t denominator);

// quantity x unit price, rounded to the cent; nullopt when it exceeds
// kLargestAmountCents or either factor is negative or too large.
std::optional<int64_t> LineAmountCents(int64_t quantityThousandths, int64_t unitPriceCents);

// The kinds of sale line and the command each is sent with.
enum class LineKind { kItem, kStorno, kDiscount, kSurcharge, kNegative, kReturn };
struct LineKindInfo {
  LineKind kind;
  std::string_view name;     // item, storno, discount, surcharge, negative, return
  std::string_view command;  // L, LS, LZ, LP, LM, LV
  int sign;                  // what it does to the total
};
std::span<const LineKindInfo> LineKinds();
std::optional<LineKindInfo> FindLineKind(std::string_view name);
const LineKindInfo& InfoOf(LineKind kind);

// The six means of payment, in the order K and KF take their amounts.
inline constexpr std::array<std::string_view, 6> kPaymentMeans = {"cash",    "card",   "credit",
                                                                  "invoice", "means5", "means6"};
std::optional<int> FindPaymentMeans(std::string_view name);

struct SaleLine {
  LineKind kind = LineKind::kItem;
  int64_t quantityThousandths = 0;
  int64_t unitPriceCents = 0;
  char vatLetter = 'A';
};

// What the device adds up while a receipt is open.
struct ReceiptFigures {
  int64_t totalCents = 0;
  std::array<VatSplit, 5> byRate{};  // [0] the 0 % class, [1..4] the four rates
};

// The receipt's figures with the VAT coefficients (0.01 %, rates 1..4);
// nullopt when a line's amount is out of range or its VAT class unknown.
std::optional<ReceiptFigures> ComputeReceipt(std::span<const SaleLine> lines,
                                             const std::array<int64_t, 4>& coefficients);

// Whether payments (cents, by means of payment) close a document of
// `totalCents` as the device checks them: they must cover the total, and
// only cash may pay more than is due (the change comes from the drawer).
struct PaymentCheck {
  enum Outcome { kCloses, kShort, kNonCashTooHigh } outcome = kCloses;
  int64_t changeCents = 0;
};
PaymentCheck CheckPayments(int64_t totalCents, const std::array<int64_t, 6>& paymentsCents);

// A decimal text with at most `decimals` digits after an optional point and
// an optional leading "-", in units of 10^-decimals; nullopt for anything
// else ("1e2", " 5", "1.2345" with 3 decimals) or a value beyond
// kLargestNumber (10000000.01 with 2 decimals too).
std::optional<int64_t> ParseDecimal(std::string_view text, int decimals);
// `units` with `decimals` digits after the point: FormatDecimal(-5, 2) is "-0.05".
std::string FormatDecimal(int64_t units, int decimals);

}  // namespace korvena::protocol
