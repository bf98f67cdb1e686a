#include "korvena/service/slip_plan.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "korvena/operations/amount_field.h"
#include "korvena/operations/invalid_input.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/service/iso_dates.h"
#include "korvena/service/request_fields.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;
using operations::FailInvalidInput;
namespace info = protocol::info;

// Closing numbers the device records: 1 to 999999.
constexpr int64_t kLargestClosingNumber = 999999;

SlipPlan Cash(const Json& body) {
  OnlyFields(body, {"deposit", "withdrawal"});
  if (body.size() != 1) FailInvalidInput("the body must be {\"deposit\": AMOUNT} or {\"withdrawal\": AMOUNT}");
  const bool deposit = body.contains("deposit");
  const std::string field = deposit ? "deposit" : "withdrawal";
  const Json& value = body[field];
  if (!value.is_string()) FailInvalidInput(field + " must be a decimal number in a string, such as \"20.00\"");
  const int64_t cents = operations::ParseAmount(value.get<std::string>(), 2, field);
  if (cents == 0) FailInvalidInput(field + " must be above 0");
  const std::string amount = operations::MoneyText(cents);
  // Each slip has a number of its own and counts in the day's deposits or withdrawals.
  return {deposit ? SlipPlan::Kind::kDeposit : SlipPlan::Kind::kWithdrawal, "V",
          protocol::CommandFrame("V", {deposit ? amount : "-" + amount}), "cash slip",
          {info::kLastDocument, deposit ? info::kDeposits + 1 : info::kWithdrawals + 1}};
}

// "2026-12-07" as its day, month and year fields.
std::vector<std::string> DateFields(const Json& value, const std::string& field) {
  const LocalDate date = IsoDate(value.get<std::string>(), field);
  return {std::to_string(date.day), std::to_string(date.month), std::to_string(date.year)};
}

SlipPlan Interval(const Json& body) {
  OnlyFields(body, {"type", "from", "to"});
  if (!body.contains("from") || !body.contains("to"))
    FailInvalidInput("an interval report needs from and to: closing numbers, or dates as YYYY-MM-DD");
  const Json& from = body["from"];
  const Json& to = body["to"];
  if (from.is_number_integer() && to.is_number_integer()) {
    const int64_t first = from.get<int64_t>();
    const int64_t last = to.get<int64_t>();
    if (first < 1 || last > kLargestClosingNumber || first > last)
      FailInvalidInput("from and to must be closing numbers from 1 to 999999, from not above to");
    // The records of closings print nothing new in the device's counters.
    return {SlipPlan::Kind::kIntervalReport, "MI",
            protocol::CommandFrame("MI", {std::to_string(first), std::to_string(last)}), "interval report", {}};
  }
  if (from.is_string() && to.is_string()) {
    std::vector<std::string> fields = DateFields(from, "from");
    const std::vector<std::string> last = DateFields(to, "to");
    // Both are YYYY-MM-DD by now, which orders as text does.
    if (to.get<std::string>() < from.get<std::string>()) FailInvalidInput("from must not come after to");
    fields.insert(fields.end(), last.begin(), last.end());
    return {SlipPlan::Kind::kIntervalReport, "MD", protocol::CommandFrame("MD", fields), "interval report", {}};
  }
  FailInvalidInput("from and to must both be closing numbers or both be dates as YYYY-MM-DD");
}

SlipPlan Report(const Json& body) {
  if (!body.is_object() || !body.contains("type") || !body["type"].is_string())
    FailInvalidInput("type must be \"running\", \"closing\" or \"interval\"");
  const std::string type = body["type"].get<std::string>();
  if (type == "interval") return Interval(body);
  OnlyFields(body, {"type"});
  if (type == "running") return {SlipPlan::Kind::kRunningReport, "DX", protocol::CommandFrame("DX"), "running report", {}};
  // The closing records its date (61) and the last document's number (63),
  // read with the clock (19) and that number (50) to tell whether it can move them.
  if (type == "closing")
    return {SlipPlan::Kind::kDailyClosing, "DZ", protocol::CommandFrame("DZ"), "daily closing",
            {info::kLastDocument, info::kLastClosingDate, info::kDocumentsAtClosing, info::kClock}};
  FailInvalidInput("type must be \"running\", \"closing\" or \"interval\", not \"" + type + "\"");
}

SlipPlan Copy(const Json& body) {
  OnlyFields(body, {});
  return {SlipPlan::Kind::kCopy, "C", protocol::CommandFrame("C"), "copy", {}};
}

}  // namespace

bool IsSlipJob(std::string_view kind) { return kind == kCashJob || kind == kReportJob || kind == kCopyJob; }

SlipPlan SlipPlanOf(std::string_view kind, const Json& body) {
  if (kind == kCashJob) return Cash(body);
  if (kind == kReportJob) return Report(body);
  return Copy(body);
}

}  // namespace korvena::service
