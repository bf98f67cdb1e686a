#include "korvena/hypertext/compiler.h"

#include "expressions.h"
#include "identifier_table.h"
#include "korvena/hypertext/htx_format.h"
#include "preprocessor.h"
#include "reader.h"
#include "scanner.h"
#include "statements.h"

namespace korvena::hypertext {
namespace {

// A source written on Linux ends its lines with LF alone. Read with the
// CR LF rule it would be one endless line, a comment swallowing the rest.
// Such a source is compiled as its CR LF form, so it gives the same file
// and names the same lines; one with any CR is read byte for byte as ever.
std::string_view WithCrLfLineEnds(std::string_view source, std::string& converted) {
  if (source.find('\r') != std::string_view::npos || source.find('\n') == std::string_view::npos) return source;
  converted.reserve(source.size() + source.size() / 8);
  for (const char c : source) {
    if (c == '\n') converted.push_back('\r');
    converted.push_back(c);
  }
  return converted;
}

}  // namespace

CompileResult CompileSource(std::string_view given, const std::string& sourceName, std::ostream& console) {
  CompileResult result;
  std::string converted;
  const std::string_view source = WithCrLfLineEnds(given, converted);
  if (source.size() > htx::kCapacity) {
    console << MessageText(Message::SourceTooLong) << kEol;
    return result;
  }
  SourceReader reader(source, sourceName, console);
  Scanner scanner(reader);
  IdentifierTable identifiers;
  Expressions expressions(reader, scanner, identifiers);
  Preprocessor preprocessor(reader, scanner, expressions, identifiers);
  HtxOutput output(reader);
  Statements statements(reader, scanner, expressions, preprocessor, identifiers, output);

  statements.Run();
  result.lineNumber = reader.LineNumber();
  if (!reader.ErrorFlag()) {
    console << sourceName << '(' << reader.LineNumber() << ')' << kEol << kEol;
    statements.CheckPass();
  }
  result.errors = reader.ErrorFlag();
  if (!result.errors) result.htx = output.Bytes();
  return result;
}

}  // namespace korvena::hypertext
