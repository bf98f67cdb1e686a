#include "commands/command_ranges.h"

#include "model/device_dates.h"
#include "model/sales_numbers.h"

namespace korvena::emu {
namespace {

// Closing and document numbers run up to six digits.
constexpr int64_t kLargestRangeNumber = 999999;

}  // namespace

std::optional<std::pair<int64_t, int64_t>> NumberRange(const Command& command) {
  if (command.ArgCount() != 2) return std::nullopt;
  const auto first = Whole(command.Arg(0), 1, kLargestRangeNumber);
  const auto last = Whole(command.Arg(1), 1, kLargestRangeNumber);
  if (!first || !last || *first > *last) return std::nullopt;
  return std::make_pair(*first, *last);
}

std::optional<std::pair<LocalDate, LocalDate>> DateRange(const Command& command) {
  if (command.ArgCount() != 6) return std::nullopt;
  const auto first = DateFromFields(command.Arg(0), command.Arg(1), command.Arg(2));
  const auto last = DateFromFields(command.Arg(3), command.Arg(4), command.Arg(5));
  if (!first || !last || DateOrder(*first) > DateOrder(*last)) return std::nullopt;
  return std::make_pair(*first, *last);
}

}  // namespace korvena::emu
