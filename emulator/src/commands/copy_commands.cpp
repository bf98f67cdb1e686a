// Copies of documents the device keeps: C and CQ the last one, CDI and
// CDIM those with numbers a..b, CDD and CDDM those of the given dates (the
// kept documents carry no date, so these are the documents of the current
// day).
//
// Answers: "0" done; "1" a range that is no range; "2" a document is open,
// or nothing kept matches.
#include <optional>
#include <string>
#include <vector>

#include "commands/command_families.h"
#include "commands/command_ranges.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "model/printed_journal.h"

namespace korvena::emu {
namespace {

enum class Selection { kLast, kNumbers, kDates };

void PrintCopies(Device& device, const Command& command, Selection selection) {
  SalesRecords& sales = device.state().sales;
  if (sales.open.kind != OpenDocument::Kind::kNone) return Answer(device, kWrongState);
  std::vector<const PrintedDocument*> chosen;
  if (selection == Selection::kLast) {
    for (auto it = sales.recent.rbegin(); it != sales.recent.rend() && chosen.empty(); ++it)
      if (it->number != 0) chosen.push_back(&*it);
  } else {
    const auto numbers = selection == Selection::kNumbers ? NumberRange(command) : std::nullopt;
    if (selection == Selection::kNumbers ? !numbers : !DateRange(command)) return Answer(device, kBadArgument);
    for (const PrintedDocument& document : sales.recent) {
      if (document.number == 0) continue;
      if (numbers ? document.number >= numbers->first && document.number <= numbers->second
                  : document.day == CurrentSdDay(sales))
        chosen.push_back(&document);
    }
  }
  if (chosen.empty()) return Answer(device, kWrongState);
  std::vector<std::string> lines = {Columns("*** KOPIA ***", "")};
  for (const PrintedDocument* document : chosen) lines.insert(lines.end(), document->lines.begin(), document->lines.end());
  PrintDocument(device, 0, lines);
  Answer(device, kDone);
}

}  // namespace

void RegisterCopyCommands(Device& device) {
  for (const char* name : {"C", "CQ"})
    device.Register(name, [](Device& d, const Command& c) { PrintCopies(d, c, Selection::kLast); });
  for (const char* name : {"CDI", "CDIM"})
    device.Register(name, [](Device& d, const Command& c) { PrintCopies(d, c, Selection::kNumbers); });
  for (const char* name : {"CDD", "CDDM"})
    device.Register(name, [](Device& d, const Command& c) { PrintCopies(d, c, Selection::kDates); });
}

}  // namespace korvena::emu
