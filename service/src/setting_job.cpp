#include "korvena/service/setting_job.h"

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>

#include "encodings/unicode_code_pages.h"
#include "korvena/operations/device_text.h"
#include "korvena/operations/fiscal_identity.h"
#include "korvena/operations/header_footer.h"
#include "korvena/operations/invalid_input.h"
#include "korvena/operations/service.h"
#include "korvena/protocol/text_limits.h"
#include "korvena/service/iso_dates.h"
#include "korvena/service/request_fields.h"
#include "korvena/service/job_result.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;
using Result = nlohmann::ordered_json;
using operations::FailInvalidInput;
using session::DeviceSession;

constexpr std::string_view kKindPrefix = "settings/";

// What a setting does on the device: the write, then its read-back as the
// job's result; `failed` holds the first refusal.
using SettingRun = std::function<Result(DeviceSession&, operations::Outcome& failed)>;

struct Setting {
  std::string_view name;
  SettingRun (*plan)(const Json& body);  // checks the body; InvalidInput when it is not one
};

std::string Text(const Json& value, const std::string& what) {
  if (!value.is_string()) FailInvalidInput(what + " must be a string");
  return value.get<std::string>();
}

Result Lines(const operations::DocumentLines& lines) {
  Result shown = Result::array();
  for (const std::string& line : lines) shown.push_back(encodings::CodePage852ToUtf8(line));
  return shown;
}

template <operations::DocumentPart part>
SettingRun DocumentLines(const Json& body) {
  OnlyFields(body, {"lines"});
  if (!body.contains("lines") || !body["lines"].is_array() || body["lines"].size() > operations::kDocumentLines)
    FailInvalidInput("lines must be an array of at most 10 texts; the lines after them are left empty");
  operations::DocumentLines lines;
  for (std::size_t i = 0; i < body["lines"].size(); ++i) {
    const std::string what = "lines[" + std::to_string(i) + "]";
    lines[i] = operations::DeviceText(Text(body["lines"][i], what), what, protocol::kLongestLineText);
  }
  return [lines](DeviceSession& session, operations::Outcome& failed) {
    failed = operations::WriteDocumentLines(session, part, lines);
    return Result{{"lines", Lines(operations::ReadDocumentLines(session, part))}};
  };
}

struct IdentityField {
  std::string_view name;
  std::size_t longest;
  std::string operations::TaxIdentity::*field;
};
constexpr IdentityField kIdentityFields[] = {
    {"dic", protocol::kLongestDic, &operations::TaxIdentity::dic},
    {"dkp", protocol::kLongestDkp, &operations::TaxIdentity::dkp},
    {"icDph", protocol::kLongestIcDph, &operations::TaxIdentity::icDph},
    {"ico", protocol::kLongestIco, &operations::TaxIdentity::ico},
};

SettingRun Identity(const Json& body) {
  OnlyFields(body, {"dic", "dkp", "icDph", "ico"});
  if (body.empty()) FailInvalidInput("give at least one of dic, dkp, icDph, ico");
  operations::TaxIdentity identity;
  for (const IdentityField& field : kIdentityFields) {
    const std::string name(field.name);
    if (!body.contains(name)) continue;
    // An empty value is never sent (the device keeps what it has), so it is refused rather than ignored.
    const std::string text = Text(body[name], name);
    if (text.empty()) FailInvalidInput(name + " cannot be empty");
    identity.*field.field = operations::DeviceText(text, name, field.longest);
  }
  return [identity](DeviceSession& session, operations::Outcome& failed) {
    failed = operations::WriteTaxIdentity(session, identity).outcome;
    const operations::TaxIdentity now = operations::ReadTaxIdentity(session);
    Result result = Result::object();
    for (const IdentityField& field : kIdentityFields)
      result[std::string(field.name)] = encodings::CodePage852ToUtf8(now.*field.field);
    return result;
  };
}

SettingRun Vat(const Json& body) {
  OnlyFields(body, {"coefficients"});
  const Json& values = body.contains("coefficients") ? body["coefficients"] : Json();
  if (!values.is_array() || values.size() != 4)
    FailInvalidInput("coefficients must be the four VAT rates in 0.01 %, such as [2000, 1000, 0, 0]");
  operations::VatCoefficients coefficients{};
  for (std::size_t i = 0; i < 4; ++i) {
    if (!values[i].is_number_integer() || !operations::ValidVatCoefficient(values[i].get<int32_t>()))
      FailInvalidInput("coefficients[" + std::to_string(i) + "] must be a whole number from 0 to 10000 (0.01 %)");
    coefficients[i] = values[i].get<int32_t>();
  }
  return [coefficients](DeviceSession& session, operations::Outcome& failed) {
    const operations::VatCoefficientsWritten written = operations::WriteVatCoefficients(session, coefficients);
    failed = written.outcome;
    Result readBack = Result::array();
    for (const std::string& value : written.readBack) readBack.push_back(value);
    return Result{{"coefficients", readBack}};
  };
}

SettingRun Clock(const Json& body) {
  OnlyFields(body, {"time"});
  const std::string time = body.contains("time") ? Text(body["time"], "time") : std::string();
  // "now" is taken when the job runs, not when it was accepted.
  std::optional<LocalDateTime> moment;
  if (time != "now") moment = IsoDateTime(time, "time");
  return [moment](DeviceSession& session, operations::Outcome& failed) {
    failed = operations::SetClock(session, moment.value_or(CurrentLocalDateTime()));
    return Result{{"clock", operations::ReadClock(session)}};
  };
}

constexpr Setting kSettings[] = {
    {"header", DocumentLines<operations::DocumentPart::kHeader>},
    {"footer", DocumentLines<operations::DocumentPart::kFooter>},
    {"identity", Identity},
    {"vat", Vat},
    {"clock", Clock},
};

const Setting* SettingOfKind(std::string_view kind) {
  if (kind.substr(0, kKindPrefix.size()) != kKindPrefix) return nullptr;
  for (const Setting& setting : kSettings)
    if (setting.name == kind.substr(kKindPrefix.size())) return &setting;
  return nullptr;
}

void Fail(JobJournal& journal, const JobRecord& job, const std::string& code, const std::string& message,
          std::optional<int> status = {}) {
  journal.Finish(job.key, JobState::kFailed, JobError(code, message, status).dump(), job.progress);
}

}  // namespace

bool IsSettingName(std::string_view name) {
  return std::any_of(std::begin(kSettings), std::end(kSettings), [&](const Setting& s) { return s.name == name; });
}

std::string SettingJobKind(std::string_view name) { return std::string(kKindPrefix) + std::string(name); }

bool IsSettingJob(std::string_view kind) { return SettingOfKind(kind) != nullptr; }

void CheckSetting(std::string_view kind, const Json& body) {
  const Setting* setting = SettingOfKind(kind);
  if (setting == nullptr) FailInvalidInput("no such setting");
  setting->plan(body);
}

SettingOutcome RunSettingJob(JobJournal& journal, DeviceChannel& channel, const JobRecord& job,
                             const std::string& servicePassword) {
  SettingRun run;
  try {
    run = SettingOfKind(job.kind)->plan(Json::parse(job.request));
  } catch (const std::exception& error) {
    Fail(journal, job, "invalid", std::string("the job's request cannot be read: ") + error.what());
    return {JobState::kFailed, false};
  }
  DeviceSession* session = channel.session();
  if (session == nullptr) {
    Fail(journal, job, "unsupported", "this device's line cannot carry settings");
    return {JobState::kFailed, false};
  }
  // The journal keeps that the setting went to the device; its frames carry the password, so not them.
  const int64_t n = journal.BeginFrame(job.key, job.kind, "(" + job.kind + ")", job.progress);
  if (!session->Login(servicePassword)) {
    const session::SessionFailure failure = session->lastFailure();
    journal.EndFrame(job.key, n, failure.Message(), job.progress);
    if (failure.kind == session::SessionFailure::kNoAnswer) return {JobState::kRunning, true};
    Fail(journal, job, "wrong-password", "the device refused the configured service password", failure.status);
    return {JobState::kFailed, false};
  }
  operations::Outcome outcome;
  const Result readBack = run(*session, outcome);
  journal.EndFrame(job.key, n, outcome.ok ? "0" : outcome.failure.Message(), job.progress);
  if (!outcome.ok && outcome.failure.kind == session::SessionFailure::kNoAnswer) return {JobState::kRunning, true};
  if (!outcome.ok) {
    Result result = JobError("refused", "the device refused the setting: " + outcome.failure.Message(),
                             outcome.failure.status);
    result["readBack"] = readBack;
    journal.Finish(job.key, JobState::kFailed, result.dump(), job.progress);
    return {JobState::kFailed, false};
  }
  Result result = {{"state", "done"}};
  result.update(readBack);
  journal.Finish(job.key, JobState::kDone, result.dump(), job.progress);
  return {JobState::kDone, false};
}

}  // namespace korvena::service
