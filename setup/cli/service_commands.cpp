// clock, auto-closing, line-speed, emblem, zero-operating-memory,
// pair-fiscal-memory and send: the service commands.
#include <algorithm>

#include "argument_forms.h"
#include "cli_command.h"
#include "cli_failure.h"
#include "device_texts.h"
#include "korvena/operations/service.h"
#include "korvena/protocol/device_status.h"
#include "korvena/protocol/line_rates.h"

namespace korvena::cli {
namespace {

constexpr int kEmblemTypes[] = {1, 3, 4, 5, 6};

Plan PlanClock(Arguments& arguments) {
  if (arguments.NextOf("show or set", {"show", "set"}) == "show") {
    arguments.Done();
    return {false, [](DeviceSession& session) {
              return Result{{"clock", ShownValue(operations::ReadClock(session))}};
            }};
  }
  const std::string when = arguments.Next("now or \"dd.mm.yyyy hh:mm:ss\"");
  arguments.Done();
  operations::DateTime time;
  if (when == "now") {
    const LocalDateTime now = CurrentLocalDateTime();
    time = {now.date, now.hour, now.minute, now.second};
  } else {
    time = ParseDateTime(when, "clock set");
  }
  return {true, [time](DeviceSession& session) {
            Require(operations::SetClock(session, time), "clock set");
            return Result{{"clock", ShownValue(operations::ReadClock(session))}};
          }};
}

Plan PlanAutomaticClosing(Arguments& arguments) {
  if (arguments.NextOf("show or set", {"show", "set"}) == "show") {
    arguments.Done();
    return {false, [](DeviceSession& session) {
              return Result{{"automaticClosing", ShownValue(operations::ReadAutomaticClosing(session))}};
            }};
  }
  const operations::DateTime time = ParseDateTime(arguments.Next("\"dd.mm.yyyy hh:mm:ss\""), "auto-closing set");
  arguments.Done();
  return {true, [time](DeviceSession& session) {
            const operations::AutomaticClosingSet set = operations::SetAutomaticClosing(session, time);
            Require(set.outcome, "auto-closing set");
            return Result{{"automaticClosing", ShownValue(set.readBack)}};
          }};
}

int LineIndexOf(const std::string& rate, std::string_view what) {
  const int value = ParseWholeNumber(rate, 0, protocol::kLineRates.back(), what);
  const std::optional<int> index = protocol::LineRateIndex(value);
  if (!index) FailInvalid(std::string(what) + " must be one of 9600, 14400, 19200, 28800, 38400, 57600, 115200");
  return *index;
}

// An index beyond the last rate stands for the last, as the service program shows it.
int32_t RateOf(int index) {
  return protocol::kLineRates[static_cast<std::size_t>(std::clamp<int>(index, 0, protocol::kLineRates.size() - 1))];
}

Plan PlanLineSpeed(Arguments& arguments) {
  if (arguments.NextOf("show or set", {"show", "set"}) == "show") {
    arguments.Done();
    return {false, [](DeviceSession& session) {
              const operations::LineSpeeds speeds = operations::ReadLineSpeeds(session);
              return Result{{"pc", RateOf(speeds.pc)}, {"internal", RateOf(speeds.internal)}};
            }};
  }
  operations::LineSpeeds speeds;
  speeds.pc = LineIndexOf(arguments.Next("PC"), "line-speed set: PC");
  speeds.internal = LineIndexOf(arguments.Next("INTERNAL"), "line-speed set: INTERNAL");
  arguments.Done();
  return {true, [speeds](DeviceSession& session) {
            const operations::LineSpeedsSet set = operations::SetLineSpeeds(session, speeds);
            Require(set.outcome, "line-speed set");
            if (set.inUse != set.chosen)
              throw CliFailure(
                  kExitRefused, "other-speed",
                  "line-speed set: the device took the speeds but answers at " + std::to_string(set.inUse) + " baud");
            return Result{{"pc", set.chosen}, {"internal", RateOf(speeds.internal)}, {"inUse", set.inUse}};
          }};
}

Plan PlanEmblem(Arguments& arguments) {
  arguments.NextOf("load", {"load"});
  const int type = ParseWholeNumber(arguments.Next("TYPE"), 1, 6, "emblem load: TYPE");
  arguments.Done();
  if (std::find(std::begin(kEmblemTypes), std::end(kEmblemTypes), type) == std::end(kEmblemTypes))
    FailInvalid("emblem load: TYPE must be 1, 3, 4, 5 or 6");
  return {true, [type](DeviceSession& session) {
            Require(operations::LoadEmblem(session, type), "emblem load");
            return Result{{"emblemLoaded", true}, {"printerType", type}};
          }};
}

Plan PlanZeroOperatingMemory(Arguments& arguments) {
  const bool confirmed = arguments.Flag("--yes");
  arguments.Done();
  if (!confirmed) FailUsage("zero-operating-memory: this zeroes the device's totals; add --yes to go on");
  return {true, [](DeviceSession& session) {
            Require(operations::ZeroOperatingMemory(session), "zero-operating-memory");
            return Result{{"operatingMemoryZeroed", true}};
          }};
}

Plan PlanPairFiscalMemory(Arguments& arguments) {
  arguments.Done();
  return {true, [](DeviceSession& session) {
            Require(operations::PairFiscalMemory(session), "pair-fiscal-memory");
            return Result{{"fiscalMemoryPaired", true}};
          }};
}

Plan PlanSend(Arguments& arguments) {
  const std::string text = DeviceCommandText(arguments.Next("TEXT"), "send");
  arguments.Done();
  if (text.empty()) FailUsage("send: TEXT is empty");
  return {false, [text](DeviceSession& session) {
            // An answer that is one of the device's statuses other than 0 is a
            // refusal; any other is the device's reply (an info query's value).
            const operations::FreeCommandAnswered answered = operations::SendFreeCommand(session, text);
            const std::optional<int> status = protocol::StatusOfAnswer(answered.answer);
            if (answered.answer.empty() || (status && *status != 0 && protocol::IsDeviceStatus(*status)))
              Require(answered.outcome, "send");
            return Result{{"sent", true}, {"answer", ShownValue(answered.answer)}};
          }};
}

constexpr Command kCommands[] = {
    {"clock", "clock show\nclock set now|\"dd.mm.yyyy hh:mm:ss\"",
     "Shows or sets the device's clock (the seconds always go as 0: the device counts from the minute it is "
     "set to); set reads it back.",
     PlanClock},
    {"auto-closing", "auto-closing show\nauto-closing set \"dd.mm.yyyy hh:mm:ss\"",
     "Shows or sets the date and time of the automatic daily closing.", PlanAutomaticClosing},
    {"line-speed", "line-speed show\nline-speed set PC INTERNAL",
     "Shows or sets the device's line speeds towards the PC and inside (9600, 14400, 19200, 28800, 38400, "
     "57600 or 115200). After set the PC follows and finds the device again; a device that answers at another "
     "speed is a failure. The next run finds the new speed by the baud search.",
     PlanLineSpeed},
    {"emblem", "emblem load TYPE", "Loads the fiscal emblem for printer type 1, 3, 4, 5 or 6.", PlanEmblem},
    {"zero-operating-memory", "zero-operating-memory --yes", "Zeroes the totals of the operating memory.",
     PlanZeroOperatingMemory},
    {"pair-fiscal-memory", "pair-fiscal-memory",
     "Pairs an older fiscal memory with the module (on versions above 13021 after clearing the commissioned "
     "flag).",
     PlanPairFiscalMemory},
    {"send", "send TEXT",
     "Sends a command typed in whole, its name and its \";\"-separated arguments (\"V;500\"), and reports "
     "whether the device answered 0.",
     PlanSend},
};

}  // namespace

std::span<const Command> ServiceCommands() { return kCommands; }

}  // namespace korvena::cli
