#include "compile_helpers.h"

#include <regex>
#include <sstream>

#include "compiler.h"

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

std::string Condensed(const std::string& console) {
  static const std::regex header(R"(^T\.DTX\((\d+)\): (Error|Warning) (\d+): .*\r$)");
  static const std::regex identifier(R"(^T\.DTX: (Error|Warning) (\d+): .* \((.*)\)\r$)");
  static const std::regex summary(R"(^T\.DTX\((\d+)\)\r$)");
  static const std::regex caret(R"(^([ \t]*)\^\r$)");
  std::string out;
  std::istringstream in(console);
  std::string line;
  bool afterHeader = false;
  auto add = [&](const std::string& item) { out += (out.empty() ? "" : " ") + item; };
  while (std::getline(in, line)) {
    std::smatch m;
    if (std::regex_match(line, m, header)) {
      add(m[1].str() + ":" + m[2].str()[0] + m[3].str());
      afterHeader = true;
    } else if (std::regex_match(line, m, identifier)) {
      add(m[1].str()[0] + m[2].str() + "(" + m[3].str() + ")");
      afterHeader = false;
    } else if (std::regex_match(line, m, summary)) {
      add("ok(" + m[1].str() + ")");
      afterHeader = false;
    } else if (afterHeader && std::regex_match(line, m, caret)) {
      out += "^" + std::to_string(m[1].length() + 1);
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
