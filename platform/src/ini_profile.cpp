#include "korvena/platform/ini_profile.h"

#include "korvena/platform/file_names.h"
#include "korvena/platform/whole_files.h"

#include <vector>

namespace korvena {
namespace {

// A configuration file holds a few lines; anything larger is not one, and
// reading it whole would cost the program its memory.
constexpr std::size_t kLargestIniFile = 1 << 20;

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool SameName(const std::string& a, const std::string& b) { return EqualsIgnoringCase(a, b); }

// One line of the file, split into what the profile rules look at.
struct IniLine {
  std::string raw;  // without its line end
  enum Kind { kOther, kSection, kKey } kind = kOther;
  std::string name;   // section or key name, trimmed
  std::string value;  // key value, trimmed
};

IniLine ParseLine(const std::string& raw) {
  IniLine line;
  line.raw = raw;
  const std::string text = Trim(raw);
  if (text.empty() || text[0] == ';') return line;
  if (text[0] == '[') {
    const auto close = text.find(']');
    line.kind = IniLine::kSection;
    line.name = Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  const auto eq = text.find('=');
  if (eq == std::string::npos) return line;
  line.kind = IniLine::kKey;
  line.name = Trim(text.substr(0, eq));
  line.value = Trim(text.substr(eq + 1));
  if (line.value.size() >= 2 && line.value.front() == '"' && line.value.back() == '"')
    line.value = line.value.substr(1, line.value.size() - 2);
  return line;
}

struct IniText {
  std::vector<IniLine> lines;
  bool crlf = true;          // line end used when lines are added
  bool endsWithNewline = true;
};

// The file's text; nullopt when it is missing. A file that cannot be read
// safely (too large, not a regular file) is `unreadable` as well.
std::optional<std::string> ReadIniText(const std::string& file, bool& unreadable) {
  FileContents contents = ReadWholeFile(file, kLargestIniFile);
  unreadable = contents.status != FileContents::kRead && contents.status != FileContents::kMissing;
  if (contents.status != FileContents::kRead) return std::nullopt;
  return std::move(contents.bytes);
}

// Calls `visit` with each line of `content` without its line end.
template <typename Visit>
void ForEachLine(const std::string& content, Visit visit) {
  std::size_t start = 0;
  while (start < content.size()) {
    auto end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string raw = content.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    visit(raw);
    start = end + 1;
  }
}

IniText SplitIni(const std::string& content) {
  IniText ini;
  ini.crlf = content.find('\n') == std::string::npos || content.find("\r\n") != std::string::npos;
  ini.endsWithNewline = content.empty() || content.back() == '\n';
  ForEachLine(content, [&ini](const std::string& raw) { ini.lines.push_back(ParseLine(raw)); });
  return ini;
}

// Index of the first section header named `section`, or -1.
long FindSection(const IniText& ini, const std::string& section) {
  for (std::size_t i = 0; i < ini.lines.size(); ++i)
    if (ini.lines[i].kind == IniLine::kSection && SameName(ini.lines[i].name, section)) return static_cast<long>(i);
  return -1;
}

}  // namespace

IniProfile IniProfile::Load(const std::string& file) {
  IniProfile profile;
  bool unreadable = false;
  profile.content_ = ReadIniText(file, unreadable).value_or(std::string());
  return profile;
}

std::optional<std::string> IniProfile::Value(const std::string& section, const std::string& key) const {
  // The text is scanned for each key: a program reads a handful of keys, and
  // nothing but the bounded text itself is kept.
  enum { kBefore, kInside, kAfter } where = kBefore;
  std::optional<std::string> found;
  ForEachLine(content_, [&](const std::string& raw) {
    if (where == kAfter || found) return;
    const IniLine line = ParseLine(raw);
    if (line.kind == IniLine::kSection) {
      if (where == kInside) where = kAfter;
      else if (SameName(line.name, section)) where = kInside;
    } else if (where == kInside && line.kind == IniLine::kKey && SameName(line.name, key)) {
      found = line.value;
    }
  });
  return found;
}

std::string IniProfile::String(const std::string& section, const std::string& key,
                               const std::string& fallback) const {
  return Value(section, key).value_or(fallback);
}

int64_t IniProfile::Int64(const std::string& section, const std::string& key, int64_t fallback) const {
  const auto value = Value(section, key);
  if (!value) return fallback;
  constexpr int64_t kLargest = int64_t{1} << 62;  // far beyond any setting, and no overflow
  std::size_t i = 0;
  bool negative = false;
  if (i < value->size() && ((*value)[i] == '-' || (*value)[i] == '+')) negative = (*value)[i++] == '-';
  int64_t number = 0;
  for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
    const int digit = (*value)[i] - '0';
    number = number > (kLargest - digit) / 10 ? kLargest : number * 10 + digit;
  }
  return negative ? -number : number;
}

int32_t IniProfile::Int(const std::string& section, const std::string& key, int32_t fallback) const {
  if (!Value(section, key)) return fallback;
  // The low 32 bits, as the profile functions have always returned them.
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(Int64(section, key, 0))));
}

std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section,
                                            const std::string& key) {
  return IniProfile::Load(file).Value(section, key);
}

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback) {
  return IniProfile::Load(file).String(section, key, fallback);
}

int32_t ReadProfileInt(const std::string& file, const std::string& section, const std::string& key,
                       int32_t fallback) {
  return IniProfile::Load(file).Int(section, key, fallback);
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
  const std::string target = ResolveFileName(file);
  bool unreadable = false;
  const std::optional<std::string> content = ReadIniText(target, unreadable);
  // A file that is there but cannot be read whole must not be replaced by
  // one that holds only this key.
  if (unreadable) return false;
  IniText ini = SplitIni(content.value_or(std::string()));
  const IniLine entry = ParseLine(key + "=" + value);
  const long header = FindSection(ini, section);
  if (header < 0) {
    if (!ini.lines.empty() && !ini.lines.back().raw.empty()) ini.lines.push_back(IniLine{});
    ini.lines.push_back(ParseLine("[" + section + "]"));
    ini.lines.push_back(entry);
  } else {
    std::size_t insertAt = header + 1;
    bool replaced = false;
    for (std::size_t i = header + 1; i < ini.lines.size(); ++i) {
      IniLine& line = ini.lines[i];
      if (line.kind == IniLine::kSection) break;
      if (line.kind == IniLine::kKey && SameName(line.name, key)) {
        line = ParseLine(line.name + "=" + value);  // keeps the file's spelling of the key
        replaced = true;
        break;
      }
      if (line.kind != IniLine::kOther || !Trim(line.raw).empty()) insertAt = i + 1;
    }
    if (!replaced) ini.lines.insert(ini.lines.begin() + static_cast<long>(insertAt), entry);
  }
  const char* newline = ini.crlf ? "\r\n" : "\n";
  std::string text;
  for (std::size_t i = 0; i < ini.lines.size(); ++i) {
    text += ini.lines[i].raw;
    if (i + 1 < ini.lines.size() || ini.endsWithNewline || header < 0) text += newline;
  }
  return WriteWholeFile(target, text);
}

}  // namespace korvena
