#include "korvena/operations/item_list.h"

namespace korvena::operations {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::vector<std::string> SplitItemList(std::string_view line) {
  std::vector<std::string> items;
  std::size_t at = 0;
  const auto skipBlanks = [&] {
    while (at < line.size() && IsBlank(line[at])) ++at;
  };
  skipBlanks();
  while (at < line.size()) {
    std::string item;
    if (line[at] == '"') {
      // An unclosed quote runs to the end of the line.
      for (++at; at < line.size(); ++at) {
        if (line[at] != '"') {
          item += line[at];
        } else if (at + 1 < line.size() && line[at + 1] == '"') {
          item += '"';
          ++at;
        } else {
          ++at;
          break;
        }
      }
    } else {
      while (at < line.size() && !IsBlank(line[at]) && line[at] != ',') item += line[at++];
    }
    items.push_back(std::move(item));
    skipBlanks();
    if (at < line.size() && line[at] == ',') {
      if (at + 1 == line.size()) items.emplace_back();
      ++at;
      skipBlanks();
    }
  }
  return items;
}

}  // namespace korvena::operations
