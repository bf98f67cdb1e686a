#include "setting_lines.h"

#include <algorithm>

namespace korvena::service {

std::string_view TrimmedSetting(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<SettingLine> SettingLines(std::string_view bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) bytes.remove_prefix(kByteOrderMark.size());
  std::vector<SettingLine> lines;
  std::size_t start = 0;
  for (int number = 1; start <= bytes.size(); ++number) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    const std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    const std::string_view text = TrimmedSetting(line.substr(0, line.find('#')));
    if (!text.empty()) lines.push_back({number, text});
  }
  return lines;
}

}  // namespace korvena::service
