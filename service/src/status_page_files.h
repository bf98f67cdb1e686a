#pragma once
// The status page's files (service/web/) built in as they stand in the tree.
#include <string_view>

namespace korvena::service {

extern const std::string_view kStatusPageHtml;
extern const std::string_view kStatusPageScript;
extern const std::string_view kStatusPageStyle;

}  // namespace korvena::service
