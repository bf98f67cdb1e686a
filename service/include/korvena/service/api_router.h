#pragma once
// The receipt API, version 1, free of any HTTP library: a request (method,
// target, headers, body) becomes a response (status, headers, JSON body),
// or a job to wait for first. The front end only carries bytes and waits.
//
//   GET  /healthz                          GET /v1/devices
//   GET  /v1/devices/{id}/status           POST /v1/devices/{id}/receipts/quote
//   POST /v1/devices/{id}/receipts         GET /v1/jobs/{key}
//   POST /v1/jobs/{key}/resolution         POST /v1/jobs/{key}/cancel
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "korvena/service/access_tokens.h"
#include "korvena/service/fiscal_service.h"

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
};

struct RouterSettings {
  uint32_t waitLimitMs = 30000;
  std::size_t largestBody = 64 * 1024;
  std::size_t longestKey = 64;
};

class ApiRouter {
 public:
  ApiRouter(FiscalService& service, AccessTokens tokens, RouterSettings settings);

  ApiReply Handle(const ApiRequest& request);
  // What a POST that printed (or tried to) answers for its job now: the
  // original status and body once it has ended, 202 with its Location while
  // it waits or runs, 409 while its outcome is unknown.
  ApiResponse JobAnswer(const std::string& key);

  const RouterSettings& settings() const { return settings_; }
  static ApiResponse Error(int status, std::string_view code, const std::string& message);

 private:
  struct Route;
  std::optional<ApiResponse> Refused(const ApiRequest& request, Role need) const;
  ApiReply Receipt(const ApiRequest& request, const std::string& device);
  ApiResponse Quote(const ApiRequest& request, const std::string& device);
  ApiResponse Status(const std::string& device);
  ApiResponse Devices();
  ApiResponse Job(const std::string& key);
  ApiResponse Resolution(const ApiRequest& request, const std::string& key);
  ApiResponse Cancel(const std::string& key);

  FiscalService& service_;
  AccessTokens tokens_;
  RouterSettings settings_;
};

}  // namespace korvena::service
