#pragma once
// Values of statement and directive arguments: numeric expressions with
// 32-bit arithmetic, text literals with escapes, and text lists that join
// literals, numbers and constants.
//
// Each function reports its own errors; false means one was reported and the
// rest of the line skipped, which ends the statement.
#include <cstdint>
#include <string>

#include "identifier_table.h"
#include "reader.h"
#include "scanner.h"

namespace korvena::hypertext {

class Expressions {
 public:
  Expressions(SourceReader& reader, Scanner& scanner, IdentifierTable& identifiers)
      : reader_(reader), scanner_(scanner), identifiers_(identifiers) {}

  // The expression starting at the current token; `follow` lists the tokens
  // that may come after it, and the first of them is left current.
  bool Numeric(TokenSet follow, std::int32_t& value);
  // The literal after an opening quote, up to and including the closing one.
  bool TextLiteral(std::string& text);
  // The items starting at the current token, which must end the line.
  // `text` is left as it was when the list is malformed.
  bool TextList(std::string& text);

 private:
  bool Term(TokenSet follow, std::int32_t& value);
  bool Factor(TokenSet follow, std::int32_t& value);
  // The constant named by the current token, marked used; reports error 12
  // or 23 when it is no constant.
  tTableRec* Constant();
  bool Apply(Token op, std::int32_t& left, std::int32_t right);
  bool Escape(std::string& text);

  SourceReader& reader_;
  Scanner& scanner_;
  IdentifierTable& identifiers_;
};

}  // namespace korvena::hypertext
