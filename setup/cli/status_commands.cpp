// status and info: the device's values, read only.
#include <cctype>

#include "argument_forms.h"
#include "cli_command.h"
#include "cli_failure.h"
#include "device_values.h"
#include "korvena/operations/status_values.h"
#include "korvena/protocol/info_catalogue.h"

namespace korvena::cli {
namespace {

// The device answers any number up to 65535; a number the catalogue lacks
// gets an empty answer.
constexpr int kHighestInfo = 65535;

Plan PlanStatus(Arguments& arguments) {
  arguments.Done();
  return {
      false, [](DeviceSession& session) {
        Result result = Result::object();
        for (const auto& [number, answer] : operations::ReadStatusValues(session, operations::StatusReportNumbers()))
          AddAnswer(result, number, answer);
        return result;
      }};
}

int InfoNumberOf(const std::string& word) {
  if (!word.empty() && std::isdigit(static_cast<unsigned char>(word.front())) != 0)
    return ParseWholeNumber(word, 0, kHighestInfo, "info: N");
  const std::optional<protocol::InfoNumber> entry = protocol::FindInfo(std::string_view(word));
  if (!entry) FailUsage("info: no info value is named \"" + word + "\" (see kalibro-cli info --help)");
  return entry->number;
}

Plan PlanInfo(Arguments& arguments) {
  std::vector<int> numbers = {InfoNumberOf(arguments.Next("N"))};
  for (const std::string& word : arguments.Rest()) numbers.push_back(InfoNumberOf(word));
  return {false, [numbers](DeviceSession& session) {
            Result rows = Result::array();
            for (const int number : numbers) {
              const std::string answer = session.QueryInfo(number);
              rows.push_back({{"number", number}, {"name", InfoName(number)}, {"value", ShownAnswer(number, answer)}});
            }
            return Result{{"info", rows}};
          }};
}

constexpr Command kCommands[] = {
    {"status", "status",
     "Reads the values the service program's status display shows: identity, register flags, dates, "
     "totals, counters and check sums, each under its name.",
     PlanStatus},
    {"info", "info N...",
     "Reads info values by number (0 to 65535) or by name, without regard to case: status, registerFlags, dkp, "
     "dic, icDph, versionText, serialNumber, ico, vatCoefficient1..4, clock, netTurnover, currency1..4, "
     "headerLine1..10, footerLine1..10, roundingSettings, lineSpeeds, versionNumber and the others the status "
     "command shows.",
     PlanInfo},
};

}  // namespace

std::span<const Command> StatusCommands() { return kCommands; }

}  // namespace korvena::cli
