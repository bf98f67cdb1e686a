#include "korvena/service/api_router.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

#include "korvena/operations/amount_field.h"
#include "korvena/platform/decimal_text.h"
#include "korvena/platform/percent_escapes.h"
#include "korvena/service/api_views.h"
#include "korvena/service/receipt_plan.h"
#include "korvena/service/raw_command.h"
#include "korvena/service/setting_job.h"
#include "korvena/service/slip_plan.h"
#include "korvena/service/service_metrics.h"

namespace korvena::service {
namespace {

using Json = nlohmann::ordered_json;
using operations::MoneyText;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

ApiResponse JsonResponse(int status, const Json& body) { return {status, {}, body.dump()}; }

// The path's segments, each percent-decoded; nothing for a broken escape.
std::optional<std::vector<std::string>> PathSegments(std::string_view target) {
  const std::string_view path = target.substr(0, target.find('?'));
  if (path.empty() || path.front() != '/') return std::nullopt;
  std::vector<std::string> segments;
  std::size_t start = 1;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    std::optional<std::string> segment = PercentUnescaped(path.substr(start, end - start));
    if (!segment) return std::nullopt;
    segments.push_back(std::move(*segment));
    start = end + 1;
  }
  return segments;
}

// The value of `name` in the target's query, percent-decoded; nothing when
// it is not there or broken.
std::optional<std::string> QueryValue(std::string_view target, std::string_view name) {
  const std::size_t question = target.find('?');
  if (question == std::string_view::npos) return std::nullopt;
  std::string_view query = target.substr(question + 1);
  while (!query.empty()) {
    const std::string_view pair = query.substr(0, query.find('&'));
    const std::size_t eq = pair.find('=');
    if (pair.substr(0, eq) == name) return PercentUnescaped(eq == std::string_view::npos ? "" : pair.substr(eq + 1));
    query.remove_prefix(std::min(query.size(), pair.size() + 1));
  }
  return std::nullopt;
}

// A browser's EventSource cannot set headers, so a page hands the event
// stream its token in the query. No other route takes it so: a query string
// ends up in proxies' logs and browsers' histories where a header does not.
// A header sent as well wins.
ApiRequest WithQueryToken(const ApiRequest& request) {
  ApiRequest tokened = request;
  const std::optional<std::string> token = QueryValue(request.target, "access_token");
  if (token && !request.Header("Authorization")) tokened.headers.emplace_back("Authorization", "Bearer " + *token);
  return tokened;
}

// A URL's unreserved characters.
bool Unreserved(unsigned char c) { return std::isalnum(c) != 0 || c == '-' || c == '_' || c == '.' || c == '~'; }

// Printable ASCII without blanks: what a key may hold.
bool IsKeyText(std::string_view key) {
  // "." and ".." would name no job: browsers and curl fold them out of /v1/jobs/KEY.
  if (key == "." || key == "..") return false;
  return std::all_of(key.begin(), key.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

// The body parsed, or why it is no JSON in `problem`. A request's body is
// compared as parsed, whatever the order of its fields: not ordered_json.
std::optional<nlohmann::json> ParsedBody(const std::string& body, std::string& problem) {
  try {
    return nlohmann::json::parse(body);
  } catch (const nlohmann::json::exception& error) {
    // "[json.exception.parse_error.101] parse error at line 1, ...": the part after the tag.
    const std::string what = error.what();
    const std::size_t tag = what.find("] ");
    problem = "the body is no JSON: " + (tag == std::string::npos ? what : what.substr(tag + 2));
    return std::nullopt;
  }
}

Json Totals(const operations::DocumentTotals& totals) {
  Json vat = Json::array();
  for (std::size_t rate = 0; rate < totals.figures.byRate.size(); ++rate) {
    const protocol::VatSplit& split = totals.figures.byRate[rate];
    if (split.Gross() != 0 || split.vat != 0)
      vat.push_back({{"rate", rate}, {"base", MoneyText(split.base)}, {"vat", MoneyText(split.vat)}});
  }
  return {{"total", MoneyText(totals.totalCents)}, {"change", MoneyText(totals.changeCents)}, {"vat", vat}};
}

ApiResponse Later(ApiResponse response, int seconds) {
  response.headers.emplace_back("Retry-After", std::to_string(seconds));
  return response;
}

// The job kind a device's document path names: /cash, /reports, /copies.
std::optional<std::string_view> SlipKindOf(std::string_view segment) {
  if (segment == "cash") return kCashJob;
  if (segment == "reports") return kReportJob;
  if (segment == "copies") return kCopyJob;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ApiRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (SameName(key, name)) return value;
  return std::nullopt;
}

ApiRouter::ApiRouter(FiscalService& service, AccessTokens tokens, RouterSettings settings)
    : service_(service), tokens_(std::move(tokens)), settings_(std::move(settings)), web_(settings_.webFolder) {}

ApiResponse ApiRouter::Error(int status, std::string_view code, const std::string& message) {
  return JsonResponse(status, {{"error", {{"code", code}, {"message", message}}}});
}

std::optional<ApiResponse> ApiRouter::Refused(const ApiRequest& request, Role need) const {
  if (!tokens_.required()) return std::nullopt;
  const std::optional<std::string> authorization = request.Header("Authorization");
  constexpr std::string_view kBearer = "Bearer ";
  if (!authorization || authorization->size() <= kBearer.size() ||
      !SameName(std::string_view(*authorization).substr(0, kBearer.size()), kBearer)) {
    ApiResponse response = Error(401, "unauthorized", "a token is needed: Authorization: Bearer TOKEN");
    response.headers.emplace_back("WWW-Authenticate", "Bearer");
    return response;
  }
  const std::optional<Role> role = tokens_.RoleOf(std::string_view(*authorization).substr(kBearer.size()));
  if (!role) {
    ApiResponse response = Error(401, "unauthorized", "the token is not known");
    response.headers.emplace_back("WWW-Authenticate", "Bearer error=\"invalid_token\"");
    return response;
  }
  if (!Permits(*role, need)) return Error(403, "forbidden", "the token's role may not do this");
  return std::nullopt;
}

ApiReply ApiRouter::Handle(const ApiRequest& request) {
  const std::optional<std::vector<std::string>> path = PathSegments(request.target);
  if (!path) return {Error(400, "bad-request", "the path is not well formed"), {}};
  const std::vector<std::string>& p = *path;
  const std::string& m = request.method;
  // Which route, which role and which methods the path allows.
  struct Match {
    std::string allowed;
    Role role = Role::kTill;
    bool open = false;
    std::function<ApiReply()> run;
    bool queryToken = false;  // the token may come as ?access_token=
  };
  std::optional<Match> match;
  const auto reply = [](ApiResponse response) { return ApiReply{std::move(response), {}}; };
  if (p.size() == 1 && p[0].empty()) {
    match = Match{"GET", Role::kTill, true, [&] { return reply(StatusPage("")); }};
  } else if (p.size() == 2 && p[0] == "page") {
    match = Match{"GET", Role::kTill, true, [&] { return reply(StatusPage(p[1])); }};
  } else if (!p.empty() && p[0] == "web" && web_.configured()) {
    match = Match{"GET", Role::kTill, true, [&] { return reply(WebFolderFile({p.begin() + 1, p.end()})); }};
  } else if (p == std::vector<std::string>{"healthz"}) {
    match = Match{"GET", Role::kTill, true, [&] { return reply(JsonResponse(200, {{"status", "ok"}})); }};
  } else if (p == std::vector<std::string>{"openapi.json"}) {
    match = Match{"GET", Role::kTill, true, [&] { return reply({200, {}, std::string(settings_.apiDocument)}); }};
  } else if (p == std::vector<std::string>{"metrics"}) {
    match = Match{"GET", Role::kTill, false, [&] { return reply(Metrics()); }};
  } else if (p.size() == 2 && p[0] == "v1" && p[1] == "devices") {
    match = Match{"GET", Role::kTill, false, [&] { return reply(Devices()); }};
  } else if (p.size() == 2 && p[0] == "v1" && p[1] == "events") {
    match = Match{"GET", Role::kTill, false, [&] { return Events(request); }, true};
  } else if (p.size() == 4 && p[0] == "v1" && p[1] == "devices" && p[3] == "status") {
    match = Match{"GET", Role::kTill, false, [&] { return reply(Status(p[2])); }};
  } else if (p.size() == 4 && p[0] == "v1" && p[1] == "devices" && p[3] == "receipts") {
    match = Match{"POST", Role::kTill, false, [&] { return Receipt(request, p[2]); }};
  } else if (p.size() == 4 && p[0] == "v1" && p[1] == "devices" && p[3] == "invoices") {
    match = Match{"POST", Role::kTill, false, [&] { return Invoice(request, p[2]); }};
  } else if (p.size() == 4 && p[0] == "v1" && p[1] == "devices" && SlipKindOf(p[3])) {
    match = Match{"POST", Role::kTill, false, [&] { return Slip(request, p[2], *SlipKindOf(p[3])); }};
  } else if (p.size() == 5 && p[0] == "v1" && p[1] == "devices" && p[3] == "receipts" && p[4] == "quote") {
    match = Match{"POST", Role::kTill, false, [&] { return reply(Quote(request, p[2])); }};
  } else if (p.size() == 2 && p[0] == "v1" && p[1] == "jobs") {
    match = Match{"GET", Role::kTill, false, [&] { return reply(LatestJobs(request)); }};
  } else if (p.size() == 2 && p[0] == "v1" && p[1] == "token") {
    match = Match{"GET", Role::kTill, false, [&] { return reply(TokenRole(request)); }};
  } else if (p.size() == 3 && p[0] == "v1" && p[1] == "jobs") {
    match = Match{"GET", Role::kTill, false, [&] { return reply(Job(request, p[2])); }};
  } else if (p.size() == 4 && p[0] == "v1" && p[1] == "jobs" && p[3] == "resolution") {
    match = Match{"POST", Role::kService, false, [&] { return reply(Resolution(request, p[2])); }};
  } else if (p.size() == 4 && p[0] == "v1" && p[1] == "jobs" && p[3] == "cancel") {
    match = Match{"POST", Role::kTill, false, [&] { return reply(Cancel(request, p[2])); }};
  } else if (p.size() == 4 && p[0] == "v1" && p[1] == "devices" && (p[3] == "pause" || p[3] == "resume")) {
    match = Match{"POST", Role::kService, false, [&] { return reply(Handover(p[2], p[3] == "pause")); }};
  } else if (p.size() == 5 && p[0] == "v1" && p[1] == "devices" && p[3] == "settings" && IsSettingName(p[4])) {
    match = Match{"POST", Role::kService, false, [&] { return Setting(request, p[2], p[4]); }};
  } else if (p.size() == 4 && p[0] == "v1" && p[1] == "devices" && p[3] == "commands") {
    match = Match{"POST", Role::kService, false, [&] { return Command(request, p[2]); }};
  }
  if (!match) return reply(Error(404, "not-found", "no such resource"));
  if (!match->open) {
    std::optional<ApiRequest> tokened;
    if (match->queryToken) tokened = WithQueryToken(request);
    const ApiRequest& asked = tokened ? *tokened : request;
    if (std::optional<ApiResponse> refused = Refused(asked, match->role)) return reply(std::move(*refused));
  }
  if (m != match->allowed) {
    ApiResponse response = Error(405, "method-not-allowed", "this resource takes " + match->allowed);
    response.headers.emplace_back("Allow", match->allowed);
    return reply(std::move(response));
  }
  if (request.body.size() > settings_.largestBody)
    return reply(Error(413, "too-large", "the body is over " + std::to_string(settings_.largestBody) + " bytes"));
  return match->run();
}

ApiResponse ApiRouter::Metrics() {
  try {
    return {200, {{"Content-Type", kMetricsContentType}}, MetricsText(service_)};
  } catch (const std::exception& failure) {
    return Error(503, "journal-failed", std::string("the journal cannot be read: ") + failure.what());
  }
}

ApiResponse ApiRouter::Devices() {
  Json devices = Json::array();
  for (const DeviceView& view : service_.Devices()) devices.push_back(DeviceJson(view));
  return JsonResponse(200, devices);
}

ApiResponse ApiRouter::Status(const std::string& device) {
  const std::optional<DeviceView> view = service_.Device(device);
  if (!view) return Error(404, "not-found", "no device " + device);
  return JsonResponse(200, StatusJson(*view));
}

ApiResponse ApiRouter::Quote(const ApiRequest& request, const std::string& device) {
  std::string problem;
  const std::optional<nlohmann::json> body = ParsedBody(request.body, problem);
  if (!body) return Error(400, "bad-json", problem);
  const FiscalService::Quote quote = service_.QuoteReceipt(device, *body);
  switch (quote.kind) {
    case FiscalService::Quote::kNoSuchDevice: return Error(404, "not-found", quote.message);
    case FiscalService::Quote::kInvalid: return Error(422, "invalid", quote.message);
    case FiscalService::Quote::kNoCoefficients: return Later(Error(503, "device-not-ready", quote.message), 1);
    case FiscalService::Quote::kQuoted: break;
  }
  return JsonResponse(200, Totals(quote.totals));
}

ApiReply ApiRouter::Receipt(const ApiRequest& request, const std::string& device) {
  return Submitted(request, "a receipt", [&](const std::string& key, const nlohmann::json& body) {
    return service_.SubmitReceipt(device, key, body);
  });
}

ApiReply ApiRouter::Events(const ApiRequest& request) {
  ApiReply reply;
  reply.events = service_.events().Subscribe(request.Header("Last-Event-ID"));
  return reply;
}

ApiReply ApiRouter::Submitted(const ApiRequest& request, std::string_view what, const Submit& submit) {
  const std::optional<std::string> key = request.Header("Idempotency-Key");
  if (!key || key->empty())
    return {Error(400, "bad-key", std::string(what) + " needs an Idempotency-Key header"), {}};
  if (key->size() > settings_.longestKey || !IsKeyText(*key))
    return {Error(400, "bad-key",
                  "the Idempotency-Key must be 1 to " + std::to_string(settings_.longestKey) +
                      " printable characters without blanks, not \".\" or \"..\""),
            {}};
  std::string problem;
  const std::optional<nlohmann::json> body = ParsedBody(request.body, problem);
  if (!body) return {Error(400, "bad-json", problem), {}};
  const FiscalService::Submission submission = submit(*key, *body);
  switch (submission.kind) {
    case FiscalService::Submission::kNoSuchDevice: return {Error(404, "not-found", submission.message), {}};
    case FiscalService::Submission::kInvalid: return {Error(422, "invalid", submission.message), {}};
    case FiscalService::Submission::kRefused: return {Error(422, "refused", submission.message), {}};
    case FiscalService::Submission::kKeyReused: return {Error(422, "key-reused", submission.message), {}};
    // These pass by themselves or by a person's hand: the till is told when to ask again.
    case FiscalService::Submission::kDeviceNotReady:
      return {Later(Error(503, "device-not-ready", submission.message), 1), {}};
    case FiscalService::Submission::kDeviceLost: return {Later(Error(503, "device-lost", submission.message), 5), {}};
    case FiscalService::Submission::kDeviceBlocked:
      return {Later(Error(409, "device-blocked", submission.message), 10), {}};
    case FiscalService::Submission::kJob: break;
  }
  const JobState state = submission.job.state;
  if (state == JobState::kAccepted || state == JobState::kRunning)
    if (settings_.waitLimitMs > 0) return {{}, *key};
  return {JobAnswer(*key), {}};
}

bool ApiRouter::JobSettled(const std::string& key) {
  return JobAnswer(key).status != 202 && !service_.Settling(key);
}

ApiResponse ApiRouter::JobAnswer(const std::string& key) {
  const std::optional<JobRecord> job = service_.Job(key);
  if (!job) return Error(404, "not-found", "no job " + key);
  const Json result = job->result ? Json::parse(*job->result) : Json();
  switch (job->state) {
    case JobState::kDone: return JsonResponse(200, result);
    case JobState::kFailed: {
      const std::string code = result.value("/error/code"_json_pointer, "");
      return JsonResponse(code == "cancelled" || code == "not-printed" ? 409 : 422, result);
    }
    case JobState::kUnknown: return JsonResponse(409, result);
    case JobState::kAccepted:
    case JobState::kRunning: break;
  }
  ApiResponse response = JsonResponse(202, JobJson(*job));
  response.headers.emplace_back("Location", "/v1/jobs/" + PercentEscaped(key, Unreserved));
  response.headers.emplace_back("Retry-After", "1");
  return response;
}

std::optional<ApiResponse> ApiRouter::RefusedJob(const ApiRequest& request, const JobRecord& job) const {
  // A raw command may carry the service password (HL;password;...), and a
  // setting is the service role's: their jobs are that role's alone.
  if (job.kind == kCommandJob || IsSettingJob(job.kind)) return Refused(request, Role::kService);
  return std::nullopt;
}

ApiResponse ApiRouter::Job(const ApiRequest& request, const std::string& key) {
  const std::optional<JobRecord> job = service_.Job(key);
  if (!job) return Error(404, "not-found", "no job " + key);
  if (std::optional<ApiResponse> refused = RefusedJob(request, *job)) return std::move(*refused);
  if (job->state != JobState::kUnknown) return JsonResponse(200, JobJson(*job));
  return JsonResponse(200, JobJson(*job, service_.Frames(key)));
}

ApiResponse ApiRouter::LatestJobs(const ApiRequest& request) {
  constexpr uint64_t kLargestLimit = 200;
  uint64_t limit = 20;
  if (const std::optional<std::string> asked = QueryValue(request.target, "limit")) {
    const std::optional<uint64_t> number = DecimalDigits(*asked, kLargestLimit);
    if (!number || *number == 0)
      return Error(400, "bad-request", "limit must be a whole number from 1 to " + std::to_string(kLargestLimit));
    limit = *number;
  }
  const std::string device = QueryValue(request.target, "device").value_or("");
  // A raw command may carry the service password and a setting is the
  // service role's: a till sees the documents only.
  std::vector<std::string> kinds;
  if (!ServiceRole(request))
    for (const std::string_view kind : {kReceiptJob, kInvoiceJob, kCashJob, kReportJob, kCopyJob})
      kinds.emplace_back(kind);
  try {
    Json jobs = Json::array();
    for (const JobRecord& job : service_.LatestJobs(limit, device, kinds)) jobs.push_back(JobJson(job));
    return JsonResponse(200, jobs);
  } catch (const std::exception& failure) {
    return Error(503, "journal-failed", std::string("the journal cannot be read: ") + failure.what());
  }
}

ApiResponse ApiRouter::TokenRole(const ApiRequest& request) const {
  return JsonResponse(200, {{"role", ServiceRole(request) ? "service" : "till"}, {"tokens", tokens_.required()}});
}

ApiResponse ApiRouter::Resolution(const ApiRequest& request, const std::string& key) {
  std::string problem;
  const std::optional<nlohmann::json> body = ParsedBody(request.body, problem);
  if (!body) return Error(400, "bad-json", problem);
  if (!body->is_object() || body->size() != 1 || !body->contains("printed") || !(*body)["printed"].is_boolean())
    return Error(422, "invalid", "the body must be {\"printed\": true} or {\"printed\": false}");
  switch (service_.Resolve(key, (*body)["printed"].get<bool>())) {
    case FiscalService::Change::kNoSuchJob: return Error(404, "not-found", "no job " + key);
    case FiscalService::Change::kWrongState: return Error(409, "not-unknown", "only a job whose outcome is unknown is resolved");
    case FiscalService::Change::kDone: break;
  }
  return Job(request, key);
}

ApiResponse ApiRouter::Cancel(const ApiRequest& request, const std::string& key) {
  if (const std::optional<JobRecord> job = service_.Job(key))
    if (std::optional<ApiResponse> refused = RefusedJob(request, *job)) return std::move(*refused);
  switch (service_.Cancel(key)) {
    case FiscalService::Change::kNoSuchJob: return Error(404, "not-found", "no job " + key);
    case FiscalService::Change::kWrongState:
      return Error(409, "not-accepted", "only a job still waiting in its queue is cancelled");
    case FiscalService::Change::kDone: break;
  }
  return Job(request, key);
}

}  // namespace korvena::service
