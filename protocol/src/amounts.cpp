#include "korvena/protocol/amounts.h"

#include <algorithm>

#include "same_name.h"

namespace korvena::protocol {
namespace {

constexpr LineKindInfo kLineKinds[] = {
    {LineKind::kItem, "item", "L", 1},           {LineKind::kStorno, "storno", "LS", -1},
    {LineKind::kDiscount, "discount", "LZ", -1}, {LineKind::kSurcharge, "surcharge", "LP", 1},
    {LineKind::kNegative, "negative", "LM", -1}, {LineKind::kReturn, "return", "LV", -1},
};

constexpr int64_t kThousandths = 1000;

}  // namespace

int64_t RoundedQuotient(int64_t numerator, int64_t denominator) {
  const int64_t half = denominator / 2;
  return numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
}

std::optional<int64_t> LineAmountCents(int64_t quantityThousandths, int64_t unitPriceCents) {
  if (quantityThousandths < 0 || unitPriceCents < 0 || quantityThousandths > kLargestNumber * kThousandths ||
      unitPriceCents > kLargestNumber * 100)
    return std::nullopt;
  // The product of the largest factors would not fit 64 bits: a product
  // above what rounds to the largest amount is refused before it is formed.
  constexpr int64_t kLargestProduct = kLargestAmountCents * kThousandths + kThousandths / 2 - 1;
  if (quantityThousandths != 0 && unitPriceCents > kLargestProduct / quantityThousandths) return std::nullopt;
  return RoundedQuotient(quantityThousandths * unitPriceCents, kThousandths);
}

std::span<const LineKindInfo> LineKinds() { return kLineKinds; }

std::optional<LineKindInfo> FindLineKind(std::string_view name) {
  for (const LineKindInfo& kind : kLineKinds)
    if (kind.name == name) return kind;
  return std::nullopt;
}

const LineKindInfo& InfoOf(LineKind kind) { return kLineKinds[static_cast<int>(kind)]; }

std::optional<int> FindPaymentMeans(std::string_view name) {
  for (std::size_t i = 0; i < kPaymentMeans.size(); ++i)
    if (kPaymentMeans[i] == name) return static_cast<int>(i);
  return std::nullopt;
}

std::optional<ReceiptFigures> ComputeReceipt(std::span<const SaleLine> lines,
                                             const std::array<int64_t, 4>& coefficients) {
  ReceiptFigures figures;
  for (const SaleLine& line : lines) {
    const auto amount = LineAmountCents(line.quantityThousandths, line.unitPriceCents);
    const auto vatClass = FindVatClass(std::string_view(&line.vatLetter, 1));
    if (!amount || !vatClass) return std::nullopt;
    const int64_t coefficient = vatClass->rate == 0 ? 0 : coefficients[static_cast<std::size_t>(vatClass->rate - 1)];
    const VatSplit split = SplitVat(*vatClass, InfoOf(line.kind).sign * *amount, coefficient);
    VatSplit& rate = figures.byRate[static_cast<std::size_t>(vatClass->rate)];
    rate.base += split.base;
    rate.vat += split.vat;
    figures.totalCents += split.Gross();
  }
  return figures;
}

PaymentCheck CheckPayments(int64_t totalCents, const std::array<int64_t, 6>& paymentsCents) {
  int64_t paid = 0;
  for (const int64_t payment : paymentsCents) paid += payment;
  if (paid < totalCents) return {PaymentCheck::kShort, 0};
  if (paid - paymentsCents[0] > std::max<int64_t>(totalCents, 0)) return {PaymentCheck::kNonCashTooHigh, 0};
  return {PaymentCheck::kCloses, paid - totalCents};
}

std::optional<int64_t> ParseDecimal(std::string_view text, int decimals) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() || (point != std::string_view::npos && fraction.empty()) ||
      fraction.size() > static_cast<std::size_t>(decimals) || whole.size() > 8)
    return std::nullopt;
  int64_t units = 0;
  for (const char c : whole) {
    if (c < '0' || c > '9') return std::nullopt;
    units = units * 10 + (c - '0');
  }
  // The bound is on the whole value: 10000000.50 is beyond it too.
  int64_t largest = kLargestNumber;
  for (int i = 0; i < decimals; ++i) {
    const std::size_t at = static_cast<std::size_t>(i);
    const char c = at < fraction.size() ? fraction[at] : '0';
    if (c < '0' || c > '9') return std::nullopt;
    units = units * 10 + (c - '0');
    largest *= 10;
  }
  if (units > largest) return std::nullopt;
  return negative ? -units : units;
}

std::string FormatDecimal(int64_t units, int decimals) {
  const bool negative = units < 0;
  // Magnitude as unsigned, so the lowest value does not overflow.
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  std::string digits = std::to_string(magnitude);
  if (digits.size() <= static_cast<std::size_t>(decimals))
    digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
  if (decimals > 0) digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
  return negative ? "-" + digits : digits;
}

}  // namespace korvena::protocol
