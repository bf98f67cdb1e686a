#pragma once
// The ranges that interval reports and copies name in their arguments:
// two numbers "a;b" or two dates "dd;mm;yyyy;dd;mm;yyyy", the first not
// after the last.
#include <cstdint>
#include <optional>
#include <utility>

#include "korvena/emulator/device.h"
#include "korvena/platform/local_date.h"

namespace korvena::emu {

std::optional<std::pair<int64_t, int64_t>> NumberRange(const Command& command);
std::optional<std::pair<LocalDate, LocalDate>> DateRange(const Command& command);

}  // namespace korvena::emu
