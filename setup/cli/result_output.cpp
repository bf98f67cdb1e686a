#include "result_output.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "korvena/protocol/device_status.h"

namespace korvena::cli {
namespace {

constexpr const char* kProgram = "kalibro-cli";

// Texts from the device are UTF-8 already; anything else is shown, not refused.
std::string Dumped(const Result& value) { return value.dump(-1, ' ', false, Result::error_handler_t::replace); }

std::string Scalar(const Result& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_null()) return "-";
  if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
  return Dumped(value);
}

// "registerFlags" as people read it: "register flags".
std::string Words(const std::string& name) {
  std::string words;
  for (const char c : name) {
    if (std::isupper(static_cast<unsigned char>(c)) != 0) {
      words += ' ';
      words += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else {
      words += c;
    }
  }
  return words;
}

bool IsRecordList(const Result& value) {
  return value.is_array() && !value.empty() &&
         std::all_of(value.begin(), value.end(), [](const Result& row) { return row.is_object(); });
}

// Columns count characters, not the bytes of UTF-8.
std::size_t ShownWidth(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Padded(const std::string& text, std::size_t width) {
  const std::size_t shown = ShownWidth(text);
  return text + std::string(width > shown ? width - shown : 0, ' ');
}

void AddValue(const std::string& indent, const std::string& name, std::size_t width, const Result& value,
              std::string& out);

// A row without the blanks an empty last cell leaves.
void AddRow(std::string text, std::string& out) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  out += text + "\n";
}

void AddRecords(const std::string& indent, const Result& rows, std::string& out) {
  std::vector<std::string> columns;
  for (const Result& row : rows)
    for (const auto& [key, cell] : row.items())
      if (std::find(columns.begin(), columns.end(), key) == columns.end()) columns.push_back(key);
  std::vector<std::size_t> widths;
  for (const std::string& column : columns) {
    std::size_t width = Words(column).size();
    for (const Result& row : rows)
      if (row.contains(column)) width = std::max(width, ShownWidth(Scalar(row[column])));
    widths.push_back(width);
  }
  const auto line = [&](const std::vector<std::string>& cells) {
    std::string text = indent;
    for (std::size_t i = 0; i < cells.size(); ++i) text += (i == 0 ? "" : "  ") + Padded(cells[i], widths[i]);
    AddRow(text, out);
  };
  std::vector<std::string> heading;
  for (const std::string& column : columns) heading.push_back(Words(column));
  line(heading);
  for (const Result& row : rows) {
    std::vector<std::string> cells;
    for (const std::string& column : columns) cells.push_back(row.contains(column) ? Scalar(row[column]) : "");
    line(cells);
  }
}

void AddObject(const std::string& indent, const Result& object, std::string& out) {
  std::size_t width = 0;
  for (const auto& [key, value] : object.items())
    if (value.is_primitive()) width = std::max(width, Words(key).size());
  for (const auto& [key, value] : object.items()) AddValue(indent, key, width, value, out);
}

void AddValue(const std::string& indent, const std::string& name, std::size_t width, const Result& value,
              std::string& out) {
  if (value.is_primitive()) {
    AddRow(indent + Padded(Words(name), width) + "  " + Scalar(value), out);
    return;
  }
  out += indent + Words(name) + ":\n";
  const std::string inner = indent + "  ";
  if (value.is_object()) {
    AddObject(inner, value, out);
  } else if (IsRecordList(value)) {
    AddRecords(inner, value, out);
  } else {
    int n = 0;
    for (const Result& item : value) AddRow(inner + Padded(std::to_string(++n), 2) + "  " + Scalar(item), out);
  }
}

}  // namespace

std::string TableOf(const Result& result) {
  std::string out;
  AddObject("", result, out);
  return out;
}

Result FailureObject(const CliFailure& failure) {
  Result error = {{"code", failure.code()}, {"message", failure.what()}};
  if (failure.deviceStatus()) {
    error["deviceStatus"] = *failure.deviceStatus();
    error["statusMeaning"] = std::string(protocol::StatusMeaning(*failure.deviceStatus()));
  }
  for (const auto& [key, value] : failure.detail().items()) error[key] = value;
  return {{"error", error}};
}

void PrintResult(std::ostream& out, const Result& result, bool json) {
  out << (json ? Dumped(result) + "\n" : TableOf(result));
  out.flush();
}

void PrintFailure(std::ostream& out, std::ostream& err, const CliFailure& failure, bool json,
                  const std::string& command) {
  if (json) {
    out << Dumped(FailureObject(failure)) << "\n";
    out.flush();
    return;
  }
  err << kProgram << ": " << failure.what() << "\n";
  if (!failure.detail().empty()) err << TableOf(failure.detail());
  if (failure.code() == "usage") err << "Try '" << kProgram << (command.empty() ? "" : " " + command) << " --help'.\n";
  err.flush();
}

}  // namespace korvena::cli
