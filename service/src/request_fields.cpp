#include "korvena/service/request_fields.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "korvena/operations/invalid_input.h"

namespace korvena::service {

void OnlyFields(const nlohmann::json& body, std::initializer_list<std::string_view> fields) {
  if (!body.is_object()) operations::FailInvalidInput("the body must be a JSON object");
  for (const auto& [key, value] : body.items())
    if (std::find(fields.begin(), fields.end(), key) == fields.end())
      operations::FailInvalidInput(key + ": no such field");
}

}  // namespace korvena::service
