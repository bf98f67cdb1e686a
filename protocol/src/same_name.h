#pragma once
// Names given on a command line or in JSON match without regard to case.
#include <algorithm>
#include <cctype>
#include <string_view>

namespace korvena::protocol {

inline bool SameName(std::string_view a, std::string_view b) {
  return !a.empty() && a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace korvena::protocol
