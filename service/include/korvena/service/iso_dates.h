#pragma once
// Dates and times as JSON carries them, ISO 8601 in local time:
// "2026-12-07" and "2026-12-07T14:30" (seconds optional). Checked for a day
// the calendar has; operations::InvalidInput naming `what` otherwise.
#include <string_view>

#include "korvena/platform/local_date.h"

namespace korvena::service {

LocalDate IsoDate(std::string_view text, std::string_view what);
LocalDateTime IsoDateTime(std::string_view text, std::string_view what);

}  // namespace korvena::service
