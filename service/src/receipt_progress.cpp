#include "korvena/service/receipt_progress.h"

#include <array>
#include <nlohmann/json.hpp>
#include <utility>

namespace korvena::service {
namespace {

using Json = nlohmann::json;
using Phase = ReceiptProgress::Phase;

constexpr std::array<std::pair<Step, std::string_view>, 6> kSteps = {{
    {Step::kOpen, "open"},
    {Step::kLine, "line"},
    {Step::kCheck, "check"},
    {Step::kVoid, "void"},
    {Step::kClose, "close"},
    {Step::kFetch, "fetch"},
}};
constexpr std::array<std::pair<Phase, std::string_view>, 4> kPhases = {{
    {Phase::kNew, "new"},
    {Phase::kOpen, "open"},
    {Phase::kClosed, "closed"},
    {Phase::kFetched, "fetched"},
}};

template <typename Table, typename Value>
std::string_view NameIn(const Table& table, Value value) {
  for (const auto& [v, name] : table)
    if (v == value) return name;
  return table.front().second;
}

template <typename Table>
auto ValueIn(const Table& table, std::string_view name) {
  for (const auto& [v, n] : table)
    if (n == name) return v;
  return table.front().first;
}

Json TakenJson(const TakenLine& t) {
  return {{"line", t.line}, {"kind", protocol::InfoOf(t.kind).name}};
}

TakenLine TakenFrom(const Json& j) {
  TakenLine t;
  t.line = j.at("line").get<std::size_t>();
  t.kind = protocol::FindLineKind(j.at("kind").get<std::string>()).value_or(protocol::LineKinds()[0]).kind;
  return t;
}

Json CountersJson(const DeviceCounters& c) {
  return {{"lastDocument", c.lastDocument}, {"salesDocuments", c.salesDocuments}, {"netTurnover", c.netTurnover}};
}

DeviceCounters CountersFrom(const Json& j) {
  return {j.at("lastDocument").get<int64_t>(), j.at("salesDocuments").get<int64_t>(),
          j.at("netTurnover").get<std::string>()};
}

}  // namespace

std::string_view StepName(Step step) { return NameIn(kSteps, step); }

std::string ProgressJson(const ReceiptProgress& p) {
  Json j = {{"phase", NameIn(kPhases, p.phase)}, {"next", p.next}, {"taken", Json::array()}};
  for (const TakenLine& t : p.taken) j["taken"].push_back(TakenJson(t));
  if (p.coefficients) j["coefficients"] = *p.coefficients;
  if (p.before) j["before"] = CountersJson(*p.before);
  if (p.after) j["after"] = CountersJson(*p.after);
  if (p.voiding) {
    j["voiding"] = {{"message", p.voiding->message}};
    if (p.voiding->deviceStatus) j["voiding"]["deviceStatus"] = *p.voiding->deviceStatus;
    j["voidTargets"] = p.voidTargets;
    j["voided"] = p.voided;
  }
  if (p.pending) {
    j["pending"] = {{"step", StepName(p.pending->step)}, {"purpose", p.pending->purpose}};
    if (p.pending->line) j["pending"]["line"] = TakenJson(*p.pending->line);
  }
  if (p.printout) j["printout"] = *p.printout;
  if (p.printoutMissing) j["printoutMissing"] = true;
  if (!p.notes.empty()) j["notes"] = p.notes;
  return j.dump();
}

std::optional<ReceiptProgress> ProgressFromJson(std::string_view json) {
  ReceiptProgress p;
  try {
    const Json j = Json::parse(json);
    if (!j.contains("phase")) return p;
    p.phase = ValueIn(kPhases, j.at("phase").get<std::string>());
    p.next = j.at("next").get<std::size_t>();
    for (const Json& t : j.at("taken")) p.taken.push_back(TakenFrom(t));
    if (j.contains("coefficients")) p.coefficients = j.at("coefficients").get<VatCoefficients>();
    if (j.contains("before")) p.before = CountersFrom(j.at("before"));
    if (j.contains("after")) p.after = CountersFrom(j.at("after"));
    if (j.contains("voiding")) {
      const Json& v = j.at("voiding");
      p.voiding = Refusal{v.at("message").get<std::string>(), {}};
      if (v.contains("deviceStatus")) p.voiding->deviceStatus = v.at("deviceStatus").get<int>();
      p.voidTargets = j.at("voidTargets").get<std::size_t>();
      p.voided = j.at("voided").get<std::size_t>();
    }
    if (j.contains("pending")) {
      const Json& f = j.at("pending");
      p.pending = PendingFrame{ValueIn(kSteps, f.at("step").get<std::string>()), f.at("purpose").get<std::string>(), {}};
      if (f.contains("line")) p.pending->line = TakenFrom(f.at("line"));
    }
    if (j.contains("printout")) p.printout = j.at("printout").get<std::string>();
    p.printoutMissing = j.value("printoutMissing", false);
    if (j.contains("notes")) p.notes = j.at("notes").get<std::vector<std::string>>();
  } catch (const Json::exception&) {
    return std::nullopt;
  }
  return p;
}

}  // namespace korvena::service
