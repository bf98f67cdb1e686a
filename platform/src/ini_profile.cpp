#include "korvena/platform/ini_profile.h"

#include "korvena/platform/file_names.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace korvena {
namespace {

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

std::optional<IniText> LoadIni(const std::string& file) {
  std::ifstream in(ResolveFileName(file), std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string content = buffer.str();
  IniText ini;
  ini.crlf = content.find('\n') == std::string::npos || content.find("\r\n") != std::string::npos;
  ini.endsWithNewline = content.empty() || content.back() == '\n';
  std::size_t start = 0;
  while (start < content.size()) {
    auto end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string raw = content.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    ini.lines.push_back(ParseLine(raw));
    start = end + 1;
  }
  return ini;
}

// Index of the first section header named `section`, or -1.
long FindSection(const IniText& ini, const std::string& section) {
  for (std::size_t i = 0; i < ini.lines.size(); ++i)
    if (ini.lines[i].kind == IniLine::kSection && SameName(ini.lines[i].name, section)) return static_cast<long>(i);
  return -1;
}

bool WriteWhole(const std::string& file, const std::string& content) {
  const std::string temp = file + ".tmp~";
  FILE* out = std::fopen(temp.c_str(), "wb");
  if (!out) return false;
  const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
  const bool closed = std::fclose(out) == 0;
  struct stat old {};
  if (stat(file.c_str(), &old) == 0) chmod(temp.c_str(), old.st_mode & 07777);
  if (!written || !closed || std::rename(temp.c_str(), file.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

IniProfile IniProfile::Load(const std::string& file) {
  IniProfile profile;
  const auto ini = LoadIni(file);
  if (!ini) return profile;
  for (const IniLine& line : ini->lines) {
    if (line.kind == IniLine::kSection) profile.entries_.push_back({true, line.name, {}});
    if (line.kind == IniLine::kKey) profile.entries_.push_back({false, line.name, line.value});
  }
  return profile;
}

std::optional<std::string> IniProfile::Value(const std::string& section, const std::string& key) const {
  auto entry = entries_.begin();
  while (entry != entries_.end() && !(entry->isSection && SameName(entry->name, section))) ++entry;
  if (entry == entries_.end()) return std::nullopt;
  for (++entry; entry != entries_.end() && !entry->isSection; ++entry)
    if (SameName(entry->name, key)) return entry->value;
  return std::nullopt;
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
  IniText ini = LoadIni(target).value_or(IniText{});
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
  std::string content;
  for (std::size_t i = 0; i < ini.lines.size(); ++i) {
    content += ini.lines[i].raw;
    if (i + 1 < ini.lines.size() || ini.endsWithNewline || header < 0) content += newline;
  }
  return WriteWhole(target, content);
}

}  // namespace korvena
