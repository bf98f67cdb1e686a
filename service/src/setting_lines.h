#pragma once
// The lines of the service's own settings files (the configuration, the
// tokens) as a person wrote them, in any editor: numbered from 1 for the
// messages, without '#' comments and the blanks around them, empty ones
// left out. CR LF ends and a UTF-8 byte order mark, which Windows editors
// write, are not part of any line.
#include <string_view>
#include <vector>

namespace korvena::service {

struct SettingLine {
  int number = 0;
  std::string_view text;  // into the bytes given
};

std::vector<SettingLine> SettingLines(std::string_view bytes);

// `text` without blanks, tabs and CRs at either end.
std::string_view TrimmedSetting(std::string_view text);

}  // namespace korvena::service
