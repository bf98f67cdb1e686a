#pragma once
// Which web pages may call the API from a browser: the origins given with
// --allow-origin, compared exactly. Without any, no CORS header is ever
// sent and browsers keep pages of other origins out, as they do by default.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "korvena/service/api_router.h"

namespace korvena::service {

class CorsPolicy {
 public:
  CorsPolicy() = default;
  explicit CorsPolicy(std::vector<std::string> origins) : origins_(std::move(origins)) {}

  // The answer to a preflight (OPTIONS with Access-Control-Request-Method):
  // 204 with what may be sent for an allowed origin, 403 for another; it
  // needs no token, since browsers send none. Nothing for any other request,
  // or when no origin is allowed at all.
  std::optional<ApiResponse> Preflight(const ApiRequest& request) const;
  // The headers an answer to `request` carries: none unless its Origin is allowed.
  HeaderList HeadersFor(const ApiRequest& request) const;

 private:
  bool Allows(const std::optional<std::string>& origin) const;
  std::vector<std::string> origins_;
};

}  // namespace korvena::service
