#pragma once
// The nine VAT classes a sale line names by a letter. A is 0 %; the others
// use one of the four VAT coefficients, either on a price without VAT (B, C,
// F, G) or on one that includes it (D, E, H, I).
#include <cstdint>
#include <optional>
#include <string_view>

namespace korvena::emu {

struct VatClass {
  char letter;
  int rate;                 // 0 for A, else the coefficient 1..4
  bool priceIncludesVat;
};

// The class of a one-letter field "A".."I".
std::optional<VatClass> FindVatClass(std::string_view letter);

struct VatSplit {
  int64_t base = 0;  // cents without VAT
  int64_t vat = 0;   // cents of VAT
  int64_t Gross() const { return base + vat; }
};

// An amount of the class split into base and VAT at `coefficient` (0.01 %).
VatSplit SplitVat(const VatClass& vatClass, int64_t amountCents, int64_t coefficient);

}  // namespace korvena::emu
