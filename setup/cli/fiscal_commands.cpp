// vat, register and commission: the settings that make the device a
// fiscal one.
#include <algorithm>
#include <climits>

#include "argument_forms.h"
#include "cli_command.h"
#include "cli_failure.h"
#include "device_values.h"
#include "korvena/operations/device_integer.h"
#include "korvena/operations/fiscal_identity.h"
#include "korvena/protocol/register_flags.h"

namespace korvena::cli {
namespace {

using VatValues = std::array<std::optional<int32_t>, 4>;

Result VatResult(const VatValues& coefficients) {
  Result rows = Result::array();
  for (std::size_t i = 0; i < coefficients.size(); ++i) {
    const std::optional<int32_t>& c = coefficients[i];
    rows.push_back({{"rate", i + 1},
                    {"coefficient", c ? Result(*c) : Result()},
                    {"percent", c ? Result(AmountText(*c, 2)) : Result()}});
  }
  return {{"vat", rows}};
}

Plan PlanVat(Arguments& arguments) {
  if (arguments.NextOf("show or set", {"show", "set"}) == "show") {
    arguments.Done();
    return {false, [](DeviceSession& session) { return VatResult(operations::ReadVatCoefficients(session)); }};
  }
  operations::VatCoefficients coefficients{};
  for (std::size_t i = 0; i < coefficients.size(); ++i) {
    const std::string what = "vat: K" + std::to_string(i + 1) + " (in 0.01 %)";
    coefficients[i] =
        ParseWholeNumber(arguments.Next("K" + std::to_string(i + 1)), 0, operations::kHighestVatCoefficient, what);
  }
  arguments.Done();
  return {true, [coefficients](DeviceSession& session) {
            const operations::VatCoefficientsWritten written = operations::WriteVatCoefficients(session, coefficients);
            Require(written.outcome, "vat set");
            VatValues readBack;
            for (std::size_t i = 0; i < readBack.size(); ++i)
              readBack[i] = operations::ParseDeviceInteger(written.readBack[i]);
            return VatResult(readBack);
          }};
}

Result RegisterResult(uint32_t flags, int32_t deviceVersion) {
  Result rows = Result::array();
  for (const protocol::RegisterFlagInfo& entry : protocol::RegisterFlagTable())
    rows.push_back({{"name", entry.name},
                    {"stp", entry.stpName},
                    {"set", (flags & entry.bit) != 0},
                    {"changeable", operations::RegisterFlagChangeable(entry.bit, deviceVersion)},
                    {"meaning", entry.meaning}});
  return {{"registerFlags", flags}, {"flags", rows}};
}

struct FlagChange {
  protocol::RegisterFlagInfo flag;
  bool on;
};

FlagChange FlagChangeOf(const std::string& word) {
  const std::size_t equals = word.find('=');
  const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
  if (equals == std::string::npos || (value != "0" && value != "1"))
    FailUsage("register set: \"" + word + "\" is no NAME=0 or NAME=1");
  const std::optional<protocol::RegisterFlagInfo> flag = protocol::FindRegisterFlag(word.substr(0, equals));
  if (!flag) FailUsage("register set: no register flag is named \"" + word.substr(0, equals) + "\"");
  // A flag no version lets the service program change is the device's own.
  if (!operations::RegisterFlagChangeable(flag->bit, INT32_MAX))
    FailUsage("register set: " + std::string(flag->name) + " is set by the device alone");
  return {*flag, value == "1"};
}

Plan PlanRegister(Arguments& arguments) {
  if (arguments.NextOf("show or set", {"show", "set"}) == "show") {
    arguments.Done();
    return {false, [](DeviceSession& session) {
              return RegisterResult(operations::ReadRegisterFlags(session), session.state().DeviceVersion);
            }};
  }
  const std::optional<std::string> deposit = arguments.Option("--deposit");
  std::vector<FlagChange> changes;
  for (const std::string& word : arguments.Rest()) {
    const FlagChange change = FlagChangeOf(word);
    for (const FlagChange& earlier : changes)
      if (earlier.flag.bit == change.flag.bit) FailUsage("register set: " + std::string(change.flag.name) + " twice");
    changes.push_back(change);
  }
  if (changes.empty()) FailUsage("register set: give at least one NAME=0 or NAME=1");
  const bool depositOn = std::any_of(changes.begin(), changes.end(), [](const FlagChange& c) {
    return c.flag.bit == protocol::flag::kAutomaticDeposit && c.on;
  });
  if (depositOn != deposit.has_value())
    FailUsage(depositOn ? "register set: automaticDeposit=1 needs --deposit AMOUNT"
                        : "register set: --deposit goes only with automaticDeposit=1");
  const std::string depositText = deposit ? MoneyText(ParseAmount(*deposit, 2, "register set: --deposit")) : "";
  return {true, [changes, depositText](DeviceSession& session) {
            const int32_t version = session.state().DeviceVersion;
            for (const FlagChange& change : changes)
              if (!operations::RegisterFlagChangeable(change.flag.bit, version))
                FailUsage("register set: " + std::string(change.flag.name) +
                          " cannot be changed on a device of version " + std::to_string(version));
            const uint32_t current = operations::ReadRegisterFlags(session);
            uint32_t wanted = current;
            for (const FlagChange& change : changes)
              wanted = change.on ? wanted | change.flag.bit : wanted & ~change.flag.bit;
            const operations::RegisterFlagsWritten written =
                operations::WriteRegisterFlags(session, current, wanted, depositText);
            Require(written.outcome, "register set");
            return RegisterResult(static_cast<uint32_t>(operations::ToInteger(written.readBack)), version);
          }};
}

Plan PlanCommission(Arguments& arguments) {
  const bool confirmed = arguments.Flag("--yes");
  arguments.Done();
  if (!confirmed) FailUsage("commission: this puts the device into fiscal operation for good; add --yes to go on");
  return {true, [](DeviceSession& session) {
            const operations::Commissioned done = operations::Commission(session);
            Require(done.outcome, "commission");
            Result result = {{"commissioned", true}};
            for (const auto& [number, answer] : done.values) AddAnswer(result, number, answer);
            return result;
          }};
}

constexpr Command kCommands[] = {
    {"vat", "vat show\nvat set K1 K2 K3 K4",
     "Shows or writes the four VAT coefficients, in 0.01 % (0 to 10000: 2000 is 20 %); set reads them back.", PlanVat},
    {"register", "register show\nregister set NAME=0|1 ... [--deposit AMOUNT]",
     "Shows the register flags, or changes the named ones (by their English or STP names, without regard to "
     "case: printControlLow or T0, summerTime or TIME, vatPayer or DPH, testMode, automaticDeposit or AVV, ...). "
     "Flags the device alone sets, and those its version does not let the service program change, are "
     "refused. Switching the automatic deposit on needs its amount, --deposit AMOUNT.",
     PlanRegister},
    {"commission", "commission --yes",
     "Commissions the device: its identity, header, footer and templates go into the fiscal memory and cannot "
     "be changed afterwards. Shows the dates the device then holds.",
     PlanCommission},
};

}  // namespace

std::span<const Command> FiscalCommands() { return kCommands; }

}  // namespace korvena::cli
