// currency, rounding and password.
#include "argument_forms.h"
#include "cli_command.h"
#include "cli_failure.h"
#include "device_texts.h"
#include "korvena/operations/passwords_rounding.h"

namespace korvena::cli {
namespace {

// An exchange rate or a rounding value: digits with at most one point.
constexpr std::size_t kLongestRate = 16;
constexpr std::size_t kLongestRoundingValue = 10;
constexpr const char* kRoundingNames[operations::kRoundingEntries] = {"za", "zb", "zc", "zhv", "zd", "zk"};

Result CurrenciesResult(const operations::Currencies& currencies) {
  Result rows = Result::array();
  for (std::size_t i = 0; i < currencies.size(); ++i)
    rows.push_back(
        {{"n", i + 1}, {"symbol", ShownValue(currencies[i].symbol)}, {"rate", ShownValue(currencies[i].rate)}});
  return {{"currencies", rows}};
}

Plan PlanCurrency(Arguments& arguments) {
  if (arguments.NextOf("show or set", {"show", "set"}) == "show") {
    arguments.Done();
    return {false, [](DeviceSession& session) { return CurrenciesResult(operations::ReadCurrencies(session)); }};
  }
  const int n = ParseWholeNumber(arguments.Next("N"), 1, operations::kCurrencies, "currency: N");
  operations::Currency currency;
  currency.symbol = DeviceText(arguments.Next("SYMBOL"), "currency: SYMBOL", kLongestCurrencySymbol);
  currency.rate = arguments.Next("RATE");
  arguments.Done();
  // The device answers symbol "," rate, so a symbol cannot hold a comma.
  if (currency.symbol.empty() || currency.symbol.find(',') != std::string::npos)
    FailInvalid("currency: SYMBOL must be 1 to 3 characters without \",\"");
  if (!IsPlainDecimal(currency.rate, kLongestRate))
    FailInvalid("currency: RATE must be a decimal number such as 25.5, not \"" + currency.rate + "\"");
  return {true, [n, currency](DeviceSession& session) {
            Require(operations::WriteCurrency(session, n, currency), "currency set");
            return CurrenciesResult(operations::ReadCurrencies(session));
          }};
}

Result RoundingResult(const std::vector<std::string>& entries) {
  Result result = Result::object();
  for (std::size_t i = 0; i < operations::kRoundingEntries; ++i)
    result[kRoundingNames[i]] = i < entries.size() ? Result(ShownValue(entries[i])) : Result();
  return {{"rounding", result}};
}

Plan PlanRounding(Arguments& arguments) {
  if (arguments.NextOf("show or set", {"show", "set"}) == "show") {
    arguments.Done();
    return {false, [](DeviceSession& session) { return RoundingResult(operations::ReadRoundingEntries(session)); }};
  }
  operations::RoundingEntries entries;
  for (std::size_t i = 0; i < entries.size(); ++i) entries[i] = arguments.Next(kRoundingNames[i]);
  arguments.Done();
  const auto refuse = [&entries](std::size_t i) {
    FailInvalid("rounding: " + std::string(kRoundingNames[i]) +
                " must be A, H or P and a decimal value, such as A0.05, not \"" + entries[i] + "\"");
  };
  // The letters' check and the values' form together: the first entry wrong either way is named.
  const std::optional<int> bad = operations::FirstBadRoundingEntry(entries);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if ((bad && i == static_cast<std::size_t>(*bad)) ||
        !IsPlainDecimal(std::string_view(entries[i]).substr(1), kLongestRoundingValue))
      refuse(i);
  return {true, [entries](DeviceSession& session) {
            Require(operations::WriteRoundingEntries(session, entries), "rounding set");
            return RoundingResult(operations::ReadRoundingEntries(session));
          }};
}

Plan PlanPassword(Arguments& arguments) {
  arguments.NextOf("set", {"set"});
  const std::string password = arguments.Next("NEW");
  arguments.Done();
  CheckPassword(password, "password set: NEW");
  return {true, [password](DeviceSession& session) {
            Require(operations::ChangePassword(session, password), "password set");
            return Result{{"passwordChanged", true}};
          }};
}

constexpr Command kCommands[] = {
    {"currency", "currency show\ncurrency set N SYMBOL RATE",
     "Shows the four currencies, or sets currency N (1 to 4): its symbol (at most 3 characters) and its rate.",
     PlanCurrency},
    {"rounding", "rounding show\nrounding set ZA ZB ZC ZHV ZD ZK",
     "Shows or writes the six rounding entries, each a letter (A, H or P, either case) and a value: A0.05 H1 P10.",
     PlanRounding},
    {"password", "password set NEW",
     "Changes the service password (1 to 11 digits); the device checks every later configuration command "
     "against the new one.",
     PlanPassword},
};

}  // namespace

std::span<const Command> MoneySettingCommands() { return kCommands; }

}  // namespace korvena::cli
