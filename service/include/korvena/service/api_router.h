#pragma once
// The receipt API, version 1, free of any HTTP library: a request (method,
// target, headers, body) becomes a response (status, headers, JSON body),
// or a job to wait for first. The front end only carries bytes and waits.
//
//   GET  /healthz                          GET /v1/devices
//   GET  /v1/devices/{id}/status           POST /v1/devices/{id}/receipts/quote
//   POST /v1/devices/{id}/receipts         GET /v1/jobs/{key}
//   POST /v1/jobs/{key}/resolution         POST /v1/jobs/{key}/cancel
//   POST /v1/devices/{id}/pause            POST /v1/devices/{id}/resume
//   POST /v1/devices/{id}/commands
//   GET  /metrics                          GET /openapi.json
//   GET  /v1/events                        GET /v1/jobs?limit=&device=
//   GET  /v1/token
// and for browsers: GET / (the status page), /page/{file} (its script and
// style), /web/{path} (the files of --web-root).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "korvena/service/access_tokens.h"
#include "korvena/service/fiscal_service.h"
#include "korvena/service/web_files.h"

namespace korvena::service {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct ApiRequest {
  std::string method;
  std::string target;  // path and query, as sent
  HeaderList headers;
  std::string body;
  // The first header of that name, without regard to case; nothing when missing.
  std::optional<std::string> Header(std::string_view name) const;
};

struct ApiResponse {
  int status = 200;
  HeaderList headers;
  std::string body;  // JSON
};

struct ApiReply {
  ApiResponse response;
  // When set: wait for this job (up to the wait limit, or until the board
  // reports it), then answer with JobAnswer.
  std::optional<std::string> awaitJob;
  // When set: answer with an event stream of these, for as long as it lasts.
  std::shared_ptr<EventSubscription> events = nullptr;
};

struct RouterSettings {
  uint32_t waitLimitMs = 30000;
  std::size_t largestBody = 64 * 1024;
  std::size_t longestKey = 64;
  // What GET /openapi.json answers, as it stands; the front end holds it.
  std::string_view apiDocument = "{}";
  // The folder served under /web/; empty for none.
  std::string webFolder;
};

class ApiRouter {
 public:
  ApiRouter(FiscalService& service, AccessTokens tokens, RouterSettings settings);

  ApiReply Handle(const ApiRequest& request);
  // What a POST that printed (or tried to) answers for its job now: the
  // original status and body once it has ended, 202 with its Location while
  // it waits or runs, 409 while its outcome is unknown.
  ApiResponse JobAnswer(const std::string& key);
  // True once job `key` has ended and its worker has done all that follows
  // it, so that JobAnswer is its final answer and what the device holds
  // afterwards reads back.
  bool JobSettled(const std::string& key);

  const RouterSettings& settings() const { return settings_; }
  static ApiResponse Error(int status, std::string_view code, const std::string& message);

 private:
  struct Route;
  std::optional<ApiResponse> Refused(const ApiRequest& request, Role need) const;
  ApiReply Receipt(const ApiRequest& request, const std::string& device);
  // document_routes.cpp: invoices, cash slips, reports and copies.
  ApiReply Invoice(const ApiRequest& request, const std::string& device);
  ApiReply Slip(const ApiRequest& request, const std::string& device, std::string_view kind);
  ApiReply Events(const ApiRequest& request);
  using Submit = std::function<FiscalService::Submission(const std::string& key, const nlohmann::json& body)>;
  // A POST that becomes a job: its key and body checked, then `submit`.
  ApiReply Submitted(const ApiRequest& request, std::string_view what, const Submit& submit);
  // maintenance_routes.cpp: the service role's handover and raw commands.
  ApiResponse Handover(const std::string& device, bool pause);
  ApiReply Command(const ApiRequest& request, const std::string& device);
  ApiReply Setting(const ApiRequest& request, const std::string& device, const std::string& name);
  ApiResponse Quote(const ApiRequest& request, const std::string& device);
  ApiResponse Status(const std::string& device);
  ApiResponse Devices();
  ApiResponse Metrics();
  ApiResponse Job(const ApiRequest& request, const std::string& key);
  // The last jobs the caller's role may see, the newest first.
  ApiResponse LatestJobs(const ApiRequest& request);
  // web_routes.cpp, for browsers: the status page's file `name` ("" for the
  // page), and the web folder's file `below` /web (nothing for /web itself).
  ApiResponse StatusPage(std::string_view name) const;
  ApiResponse WebFolderFile(const std::vector<std::string>& below) const;
  // What the token presented may do.
  ApiResponse TokenRole(const ApiRequest& request) const;
  // Whether the caller may do what the service role may.
  bool ServiceRole(const ApiRequest& request) const { return !Refused(request, Role::kService); }
  // A job the caller's role may not see or change.
  std::optional<ApiResponse> RefusedJob(const ApiRequest& request, const JobRecord& job) const;
  ApiResponse Resolution(const ApiRequest& request, const std::string& key);
  ApiResponse Cancel(const ApiRequest& request, const std::string& key);

  FiscalService& service_;
  AccessTokens tokens_;
  RouterSettings settings_;
  WebFolder web_;
};

}  // namespace korvena::service
