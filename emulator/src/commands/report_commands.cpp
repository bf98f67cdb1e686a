// The daily and interval reports. DX prints the day so far; DZ closes the
// day: it prints, records the closing for interval reports, sets the
// closing dates and starts a new day with its figures at zero and a new
// SD-card day. MI and MD print the recorded closings with numbers or dates
// in a range, added up; MIP and MDP do the same and answer once printed.
//
// Answers: "0" done; "1" arguments where none belong, or a range that is no
// range or holds no recorded closing; "2" a receipt or invoice is open.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_families.h"
#include "commands/command_ranges.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "model/day_figures.h"
#include "model/device_dates.h"
#include "model/printed_journal.h"
#include "model/sales_info.h"
#include "model/sales_numbers.h"

namespace korvena::emu {
namespace {

// MIP and MDP acknowledge once the report has left the printer.
constexpr uint32_t kPrintingMs = 200;

bool DocumentOpen(Device& device) { return device.state().sales.open.kind != OpenDocument::Kind::kNone; }

std::vector<std::string> Report(const std::vector<std::string>& heading, int64_t documents, const DayFigures& figures) {
  std::vector<std::string> lines = {kDoubleRule};
  lines.insert(lines.end(), heading.begin(), heading.end());
  lines.push_back(kRule);
  lines.push_back(Columns("Pocet dokladov", std::to_string(documents)));
  const std::vector<std::string> figureLines = DayFigureLines(figures);
  lines.insert(lines.end(), figureLines.begin(), figureLines.end());
  lines.push_back(kDoubleRule);
  return lines;
}

// ESC ";DX"
void RunningReport(Device& device, const Command& command) {
  if (DocumentOpen(device)) return Answer(device, kWrongState);
  if (command.ArgCount() != 0) return Answer(device, kBadArgument);
  const DeviceState& state = device.state();
  PrintDocument(device, 0,
                Report({"PRIEBEZNA UZAVIERKA (X)"}, state.sales.documentsToday, CurrentDayFigures(state)));
  Answer(device, kDone);
}

// ESC ";DZ"
void DailyClosing(Device& device, const Command& command) {
  if (DocumentOpen(device)) return Answer(device, kWrongState);
  if (command.ArgCount() != 0) return Answer(device, kBadArgument);
  DeviceState& state = device.state();
  SalesRecords& sales = state.sales;
  const LocalDate today = CurrentLocalDate();
  const DayClosing closing{sales.closingNumber + 1, FormatDate(today), sales.documentsToday, CurrentDayFigures(state)};
  // Printed before the number moves on, so the report ends the day it closes.
  PrintDocument(device, 0,
                Report({"DENNA UZAVIERKA (Z) c. " + std::to_string(closing.number), Columns("Datum", closing.date)},
                       closing.documents, closing.figures));
  sales.closings.push_back(closing);
  sales.closingNumber = closing.number;
  sales.documentsToday = 0;
  ResetDayFigures(state);
  state.info[kInfoLastClosingDate] = closing.date;
  state.info[kInfoNextClosingDate] = FormatDate(NextDay(today));
  state.info[kInfoDocumentsAtClosing] = std::to_string(InfoCount(state, kInfoDocuments));
  Answer(device, kDone);
}

struct IntervalSelection {
  std::string title, from, to;
  std::function<bool(const DayClosing&)> includes;
};

std::optional<IntervalSelection> ByNumbers(const Command& command) {
  const auto range = NumberRange(command);
  if (!range) return std::nullopt;
  // Plain variables: a lambda cannot capture structured bindings in every compiler yet.
  const int64_t first = range->first;
  const int64_t last = range->second;
  return IntervalSelection{"INTERVALOVA UZAVIERKA (CISLA)", "uzavierka c. " + std::to_string(first),
                           "uzavierka c. " + std::to_string(last),
                           [first, last](const DayClosing& closing) {
                             return closing.number >= first && closing.number <= last;
                           }};
}

std::optional<IntervalSelection> ByDates(const Command& command) {
  const auto range = DateRange(command);
  if (!range) return std::nullopt;
  const int64_t first = DateOrder(range->first);
  const int64_t last = DateOrder(range->second);
  return IntervalSelection{"INTERVALOVA UZAVIERKA (DATUMY)", FormatDate(range->first), FormatDate(range->second),
                           [first, last](const DayClosing& closing) {
                             const auto date = ParseDate(closing.date);
                             return date && DateOrder(*date) >= first && DateOrder(*date) <= last;
                           }};
}

void IntervalReport(Device& device, const Command& command, bool byDates, uint32_t answerPauseMs) {
  if (DocumentOpen(device)) return AnswerAfter(device, kWrongState, answerPauseMs);
  const auto selection = byDates ? ByDates(command) : ByNumbers(command);
  if (!selection) return AnswerAfter(device, kBadArgument, answerPauseMs);
  int64_t closings = 0;
  int64_t documents = 0;
  DayFigures figures;
  for (const DayClosing& closing : device.state().sales.closings) {
    if (!selection->includes(closing)) continue;
    ++closings;
    documents = SaturatingAdd(documents, closing.documents);
    AddDayFigures(figures, closing.figures);
  }
  if (closings == 0) return AnswerAfter(device, kBadArgument, answerPauseMs);
  PrintDocument(device, 0,
                Report({selection->title, Columns("od", selection->from), Columns("do", selection->to),
                        Columns("Pocet uzavierok", std::to_string(closings))},
                       documents, figures));
  AnswerAfter(device, kDone, answerPauseMs);
}

}  // namespace

void RegisterReportCommands(Device& device) {
  device.Register("DX", RunningReport);
  device.Register("DZ", DailyClosing);
  device.Register("MI", [](Device& d, const Command& c) { IntervalReport(d, c, false, 0); });
  device.Register("MD", [](Device& d, const Command& c) { IntervalReport(d, c, true, 0); });
  device.Register("MIP", [](Device& d, const Command& c) { IntervalReport(d, c, false, kPrintingMs); });
  device.Register("MDP", [](Device& d, const Command& c) { IntervalReport(d, c, true, kPrintingMs); });
}

}  // namespace korvena::emu
