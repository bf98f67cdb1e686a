#include "model/vat_classes.h"

#include "model/sales_numbers.h"

namespace korvena::emu {
namespace {

constexpr VatClass kVatClasses[] = {
    {'A', 0, false}, {'B', 1, false}, {'C', 2, false}, {'D', 1, true}, {'E', 2, true},
    {'F', 3, false}, {'G', 4, false}, {'H', 3, true},  {'I', 4, true},
};

constexpr int64_t kWholePercent = 10000;  // 100 % in units of the coefficients

}  // namespace

std::optional<VatClass> FindVatClass(std::string_view letter) {
  if (letter.size() != 1) return std::nullopt;
  for (const VatClass& vatClass : kVatClasses)
    if (vatClass.letter == letter.front()) return vatClass;
  return std::nullopt;
}

VatSplit SplitVat(const VatClass& vatClass, int64_t amountCents, int64_t coefficient) {
  if (vatClass.rate == 0) return {amountCents, 0};
  if (!vatClass.priceIncludesVat) return {amountCents, RoundedQuotient(amountCents * coefficient, kWholePercent)};
  const int64_t base = RoundedQuotient(amountCents * kWholePercent, kWholePercent + coefficient);
  return {base, amountCents - base};
}

}  // namespace korvena::emu
