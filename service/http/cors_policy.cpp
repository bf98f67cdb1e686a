#include "cors_policy.h"

#include <algorithm>

namespace korvena::service {

bool CorsPolicy::Allows(const std::optional<std::string>& origin) const {
  return origin && std::find(origins_.begin(), origins_.end(), *origin) != origins_.end();
}

HeaderList CorsPolicy::HeadersFor(const ApiRequest& request) const {
  const std::optional<std::string> origin = request.Header("Origin");
  if (!Allows(origin)) return {};
  // Credentials are never asked for: the token travels in a header the page sets itself.
  return {{"Access-Control-Allow-Origin", *origin},
          {"Vary", "Origin"},
          {"Access-Control-Expose-Headers", "Location, Retry-After"}};
}

std::optional<ApiResponse> CorsPolicy::Preflight(const ApiRequest& request) const {
  if (origins_.empty() || request.method != "OPTIONS" || !request.Header("Access-Control-Request-Method"))
    return std::nullopt;
  const std::optional<std::string> origin = request.Header("Origin");
  if (!Allows(origin)) return ApiRouter::Error(403, "origin-not-allowed", "this origin may not call the API");
  ApiResponse response{204, HeadersFor(request), ""};
  response.headers.emplace_back("Access-Control-Allow-Methods", "GET, POST");
  response.headers.emplace_back("Access-Control-Allow-Headers", "Authorization, Content-Type, Idempotency-Key, Last-Event-ID");
  response.headers.emplace_back("Access-Control-Max-Age", "600");
  // A public page calling a service on the shop's own network: the browser asks first.
  const std::optional<std::string> privateNetwork = request.Header("Access-Control-Request-Private-Network");
  if (privateNetwork && *privateNetwork == "true")
    response.headers.emplace_back("Access-Control-Allow-Private-Network", "true");
  return response;
}

}  // namespace korvena::service
