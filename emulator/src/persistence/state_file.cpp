#include "korvena/emulator/state_file.h"

#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "korvena/platform/decimal_text.h"
#include "korvena/platform/percent_escapes.h"
#include "korvena/platform/whole_files.h"
#include "model/device_dates.h"

namespace korvena::emu {
namespace {

constexpr std::size_t kLargestStateFile = 16u << 20;
constexpr std::string_view kInfoPrefix = "info.";

// What a value keeps as it is; the rest (line ends, code page bytes, the two
// characters the file gives a meaning) goes as %XX.
bool Plain(unsigned char c) { return c >= 0x20 && c < 0x7F && c != '%' && c != '='; }

std::string Escape(std::string_view bytes) { return PercentEscaped(bytes, Plain); }

// The day's counters, by their names in the file.
struct Counter {
  const char* name;
  int64_t SalesRecords::*field;
};
constexpr Counter kCounters[] = {
    {"sales.closingNumber", &SalesRecords::closingNumber},
    {"sales.documentsToday", &SalesRecords::documentsToday},
};

std::optional<int64_t> SignedNumber(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const auto value = DecimalDigits(text, INT64_MAX);
  if (!value) return std::nullopt;
  return negative ? -static_cast<int64_t>(*value) : static_cast<int64_t>(*value);
}

// Splits at every `separator`: "a;;b" gives "a", "", "b".
std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// A recorded daily closing on one line: number;dd.mm.yyyy;documents;figures,
// the figures as info:value pairs separated by commas.
constexpr std::string_view kClosingName = "sales.closing";

std::string ClosingText(const DayClosing& closing) {
  std::string text = std::to_string(closing.number) + ";" + closing.date + ";" + std::to_string(closing.documents) + ";";
  for (const auto& [info, value] : closing.figures) {
    if (text.back() != ';') text += ",";
    text += std::to_string(info) + ":" + std::to_string(value);
  }
  return text;
}

std::optional<DayClosing> ParseClosing(std::string_view text) {
  const std::vector<std::string_view> parts = Split(text, ';');
  if (parts.size() != 4 || !ParseDate(parts[1])) return std::nullopt;
  const auto number = DecimalDigits(parts[0], INT64_MAX);
  const auto documents = DecimalDigits(parts[2], INT64_MAX);
  if (!number || !documents) return std::nullopt;
  DayClosing closing{static_cast<int64_t>(*number), std::string(parts[1]), static_cast<int64_t>(*documents), {}};
  if (parts[3].empty()) return closing;
  for (const std::string_view pair : Split(parts[3], ',')) {
    const std::size_t colon = pair.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto info = DecimalDigits(pair.substr(0, colon), INT32_MAX);
    const auto value = SignedNumber(pair.substr(colon + 1));
    if (!info || !value) return std::nullopt;
    closing.figures[static_cast<int>(*info)] = *value;
  }
  return closing;
}

}  // namespace

std::string SerializeState(const DeviceState& state) {
  std::string text = "password=" + Escape(state.servicePassword) + "\n";
  for (const Counter& counter : kCounters)
    text += std::string(counter.name) + "=" + std::to_string(state.sales.*counter.field) + "\n";
  for (const DayClosing& closing : state.sales.closings)
    text += std::string(kClosingName) + "=" + Escape(ClosingText(closing)) + "\n";
  for (const auto& [number, value] : state.info)
    text += std::string(kInfoPrefix) + std::to_string(number) + "=" + Escape(value) + "\n";
  return text;
}

bool ApplySerializedState(const std::string& text, DeviceState& state) {
  DeviceState updated = state;
  bool closingsRead = false;  // the file's closings replace those held before
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line(text.data() + start, end - start);
    start = end + 1;
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view name = line.substr(0, equals);
    const auto value = PercentUnescaped(line.substr(equals + 1));
    if (!value) return false;
    if (name == "password") {
      updated.servicePassword = *value;
    } else if (name.substr(0, kInfoPrefix.size()) == kInfoPrefix) {
      const auto number = DecimalDigits(name.substr(kInfoPrefix.size()), INT32_MAX);
      if (!number) return false;
      updated.info[static_cast<int>(*number)] = *value;
    } else if (name == kClosingName) {
      const auto closing = ParseClosing(*value);
      if (!closing) return false;
      if (!closingsRead) updated.sales.closings.clear();
      closingsRead = true;
      updated.sales.closings.push_back(*closing);
    } else {
      for (const Counter& counter : kCounters) {
        if (name != counter.name) continue;
        const auto number = SignedNumber(*value);
        if (!number) return false;
        updated.sales.*counter.field = *number;
      }
    }
  }
  state = std::move(updated);
  return true;
}

bool StateFile::Load(DeviceState& state, std::string& error) {
  const FileContents file = ReadWholeFile(path_, kLargestStateFile);
  if (file.status == FileContents::kMissing) return true;
  if (file.status != FileContents::kRead) {
    error = "cannot read the state file " + path_;
    return false;
  }
  if (!ApplySerializedState(file.bytes, state)) {
    error = "the state file " + path_ + " is damaged";
    return false;
  }
  written_ = file.bytes;
  return true;
}

bool StateFile::SaveIfChanged(const DeviceState& state) {
  std::string text = SerializeState(state);
  if (text == written_) return true;
  if (!WriteWholeFile(path_, text)) return false;
  written_ = std::move(text);
  return true;
}

}  // namespace korvena::emu
