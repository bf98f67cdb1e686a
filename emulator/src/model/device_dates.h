#pragma once
// Dates as the device shows them, "dd.mm.yyyy", and the little calendar
// arithmetic its closings need.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "korvena/platform/local_date.h"

namespace korvena::emu {

std::string FormatDate(const LocalDate& date);
std::string TodayText();

// A real date from "dd.mm.yyyy"; nullopt for anything else.
std::optional<LocalDate> ParseDate(std::string_view text);

// A real date from three digit fields (a command's "dd;mm;yyyy").
std::optional<LocalDate> DateFromFields(std::string_view day, std::string_view month, std::string_view year);

LocalDate NextDay(const LocalDate& date);

// A number that orders dates as the calendar does.
int64_t DateOrder(const LocalDate& date);

}  // namespace korvena::emu
