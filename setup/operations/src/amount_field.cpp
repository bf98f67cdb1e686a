#include "korvena/operations/amount_field.h"

#include "korvena/operations/invalid_input.h"
#include "korvena/protocol/amounts.h"

namespace korvena::operations {

int64_t ParseAmount(std::string_view text, int decimals, std::string_view what) {
  const std::optional<int64_t> units = protocol::ParseDecimal(text, decimals);
  if (!units || *units < 0 || text.front() == '-')
    FailInvalidInput(std::string(what) + " must be a decimal number, not negative, with at most " +
                     std::to_string(decimals) + " decimals and at most " + std::to_string(protocol::kLargestNumber) +
                     ", not \"" + std::string(text) + "\"");
  return *units;
}

std::string AmountText(int64_t units, int decimals) { return protocol::FormatDecimal(units, decimals); }

std::string MoneyText(int64_t cents) { return AmountText(cents, 2); }

}  // namespace korvena::operations
