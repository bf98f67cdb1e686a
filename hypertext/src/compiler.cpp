#include "korvena/hypertext/compiler.h"

#include "expressions.h"
#include "identifier_table.h"
#include "korvena/hypertext/htx_format.h"
#include "preprocessor.h"
#include "reader.h"
#include "scanner.h"
#include "statements.h"

namespace korvena::hypertext {

CompileResult CompileSource(std::string_view source, const std::string& sourceName, std::ostream& console) {
  CompileResult result;
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
