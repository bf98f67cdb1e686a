#include "compile_helpers.h"

#include <sstream>

#include "korvena/hypertext/compiler.h"

namespace korvena::hypertext::testing {

Compiled Compile(std::string_view source) {
  std::ostringstream console;
  const CompileResult result = CompileSource(source, "T.DTX", console);
  return {console.str(), result.htx, result.errors};
}

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string text;
  for (int b : bytes) text.push_back(static_cast<char>(b));
  return text;
}

namespace {

// Takes `prefix` off the front of `text`.
bool Eat(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// Takes a decimal number off the front of `text`.
std::string Digits(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  std::string digits(text.substr(0, n));
  text.remove_prefix(n);
  return digits;
}

// "E" or "W" for the word that opens a diagnostic.
std::string Kind(std::string_view& text) {
  if (Eat(text, "Error ")) return "E";
  if (Eat(text, "Warning ")) return "W";
  return "";
}

}  // namespace

std::string Condensed(const std::string& console) {
  std::string out;
  auto add = [&](const std::string& item) { out += (out.empty() ? "" : " ") + item; };
  bool afterHeader = false;
  std::istringstream in(console);
  for (std::string whole; std::getline(in, whole);) {
    std::string_view line = whole;
    if (line.empty() || line.back() != '\r') continue;
    line.remove_suffix(1);
    std::string_view rest = line;
    if (Eat(rest, "T.DTX(")) {
      const std::string number = Digits(rest);
      if (rest == ")") {
        add("ok(" + number + ")");
        afterHeader = false;
        continue;
      }
      if (Eat(rest, "): ")) {
        const std::string kind = Kind(rest);
        add(number + ":" + kind + Digits(rest));
        afterHeader = true;
        continue;
      }
    }
    rest = line;
    if (Eat(rest, "T.DTX: ")) {
      const std::string kind = Kind(rest);
      const std::string number = Digits(rest);
      const std::size_t open = rest.rfind(" (");
      add(kind + number + "(" + std::string(rest.substr(open + 2, rest.size() - open - 3)) + ")");
      afterHeader = false;
      continue;
    }
    const std::size_t caret = line.find_first_not_of(" \t");
    if (afterHeader && caret != std::string_view::npos && line.substr(caret) == "^") {
      out += "^" + std::to_string(caret + 1);
      afterHeader = false;
    }
  }
  return out;
}

int ByteOf(std::string_view expression) {
  const Compiled c = Compile(Lines({"B, " + std::string(expression)}));
  if (c.errors || c.htx.size() != 3) return -1;
  return static_cast<unsigned char>(c.htx[1]);
}

std::string TextOf(std::string_view list, std::string_view preamble) {
  const Compiled c = Compile(std::string(preamble) + Lines({"T, " + std::string(list)}));
  if (c.errors || c.htx.size() < 3) return "<error>";
  return c.htx.substr(2, c.htx.size() - 3);
}

}  // namespace korvena::hypertext::testing
