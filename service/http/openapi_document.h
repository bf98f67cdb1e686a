#pragma once
// The API's OpenAPI document, http/openapi.json built in as it stands.
#include <string_view>

namespace korvena::service {

extern const std::string_view kOpenApiDocument;

}  // namespace korvena::service
