#pragma once
// What every request body the jobs take must be: a JSON object holding no
// field but `fields` (which of them are needed, each kind says itself).
// operations::InvalidInput naming the stray field otherwise.
#include <initializer_list>
#include <nlohmann/json_fwd.hpp>
#include <string_view>

namespace korvena::service {

void OnlyFields(const nlohmann::json& body, std::initializer_list<std::string_view> fields);

}  // namespace korvena::service
