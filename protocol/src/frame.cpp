#include "korvena/protocol/frame.h"

namespace korvena::protocol {
namespace {

template <typename Arguments>
std::string BuildFrame(std::string_view name, const Arguments& arguments, char end = kCr) {
  std::string frame{kEsc, ';'};
  frame += name;
  for (const auto& argument : arguments) {
    frame += ';';
    frame += argument;
  }
  frame += end;
  return frame;
}

}  // namespace

std::string CommandFrame(std::string_view name, std::initializer_list<std::string_view> arguments) {
  return BuildFrame(name, arguments);
}

std::string CommandFrame(std::string_view name, const std::vector<std::string>& arguments) {
  return BuildFrame(name, arguments);
}

std::string AnnouncementFrame(std::string_view name, std::initializer_list<std::string_view> arguments) {
  return BuildFrame(name, arguments, kNul);
}

std::string FrameOfText(std::string_view text) { return std::string(text) + kCr; }

std::string InfoQueryFrame(int n) { return CommandFrame("IV", {std::to_string(n)}); }
std::string InfoQueryFrame(std::string_view n) { return CommandFrame("IV", {n}); }
std::string InfoFrame(std::string_view n) { return CommandFrame("INFO", {n}); }

std::string_view CommandField(std::string_view text, std::size_t n) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t separator = text.find(';', start);
    if (separator == std::string_view::npos) return {};
    start = separator + 1;
  }
  const std::size_t end = text.find(';', start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::vector<std::string> CommandFields(std::string_view text) {
  std::vector<std::string> fields(1);
  for (const char c : text) {
    if (c == ';')
      fields.emplace_back();
    else
      fields.back().push_back(c);
  }
  return fields;
}

}  // namespace korvena::protocol
