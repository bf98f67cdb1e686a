#include "preprocessor.h"

#include <algorithm>

#include "expressions.h"

namespace korvena::hypertext {

Preprocessor::Preprocessor(SourceReader& reader, Scanner& scanner, Expressions& expressions,
                           IdentifierTable& identifiers)
    : reader_(reader), scanner_(scanner), expressions_(expressions), identifiers_(identifiers) {
  // Every source is compiled for this firmware generation.
  symbols_.push_back({"ver40"});
}

bool Preprocessor::IsDefined(std::string_view symbol) const {
  return std::any_of(symbols_.begin(), symbols_.end(), [&](const tDefRec& d) { return d.name == symbol; });
}

void Preprocessor::Directive(Token keyword) {
  switch (keyword) {
    case Token::Define: Define(); break;
    case Token::Undef: Undef(); break;
    case Token::Ifdef: IfDefined(true); break;
    case Token::Ifndef: IfDefined(false); break;
    case Token::Else: Else(); break;
    case Token::Endif: Endif(); break;
    case Token::Const: Const(); break;
    default: break;
  }
}

void Preprocessor::Define() {
  if (!IsActive()) return reader_.SkipRestOfLine();
  std::string symbol;
  if (!scanner_.NextName(symbol)) return;
  scanner_.Next();
  if (!scanner_.EndOfStatement()) return;
  if (!IsDefined(symbol)) symbols_.push_back({std::move(symbol)});
}

void Preprocessor::Undef() {
  if (!IsActive()) return reader_.SkipRestOfLine();
  std::string symbol;
  if (!scanner_.NextName(symbol)) return;
  scanner_.Next();
  if (!scanner_.EndOfStatement()) return;
  symbols_.remove_if([&](const tDefRec& d) { return d.name == symbol; });
}

void Preprocessor::IfDefined(bool wanted) {
  // Read even where lines are skipped, so that nested blocks pair up.
  std::string symbol;
  if (!scanner_.NextName(symbol)) return;
  scanner_.Next();
  if (!scanner_.EndOfStatement()) return;
  const bool holds = IsDefined(symbol) == wanted;
  levels_.push_back(holds);
  if (!holds) ++falseLevels_;
}

void Preprocessor::Else() {
  scanner_.Next();
  if (!scanner_.EndOfStatement()) return;
  if (levels_.empty()) return reader_.ReportError(Message::MisplacedConditional, AfterError::SkipToLineEnd);
  const bool holds = !levels_.back();
  levels_.back() = holds;
  if (holds) --falseLevels_;
  else ++falseLevels_;
}

void Preprocessor::Endif() {
  // The symbol after #endif only documents which block closes.
  if (scanner_.Next() == Token::Name) scanner_.Next();
  if (!scanner_.EndOfStatement()) return;
  if (levels_.empty()) return reader_.ReportError(Message::MisplacedConditional, AfterError::SkipToLineEnd);
  if (!levels_.back()) --falseLevels_;
  levels_.pop_back();
}

void Preprocessor::Const() {
  if (!IsActive()) return reader_.SkipRestOfLine();
  tTableRec constant;
  if (!scanner_.NextName(constant.name)) return;
  if (identifiers_.Find(constant.name) != 0)
    return reader_.ReportError(Message::RedeclareIdentifier, AfterError::SkipToLineEnd);
  if (scanner_.Next() != Token::Equals) return reader_.ReportError(Message::EqualsExpected, AfterError::SkipToLineEnd);

  scanner_.Next();
  bool isText = scanner_.Current() == Token::Quote;
  if (scanner_.Current() == Token::Name) {
    const int index = identifiers_.Find(scanner_.Name());
    isText = index != 0 && identifiers_[index].kind == kKindConstant && identifiers_[index].valueType == kValueText;
  }
  bool valid;
  if (isText) {
    constant.valueType = kValueText;
    valid = expressions_.TextList(constant.text);
    if (constant.text.size() > kMaxTextLength) constant.text.resize(kMaxTextLength);
  } else {
    valid = expressions_.Numeric({Token::StatementEnd, Token::LineEnd}, constant.value);
  }
  // A constant whose value was in error is still entered, so that its uses
  // further on do not bring a second, misleading "Unknown identifier.".
  if (!valid) {
    identifiers_.Add(std::move(constant));
    return;
  }
  if (!scanner_.EndOfStatement()) return;
  if (identifiers_.Add(std::move(constant)) == 0)
    reader_.ReportError(Message::TooManyIdentifiers, AfterError::SkipToLineEnd);
}

void Preprocessor::EndCheck() {
  if (!levels_.empty()) reader_.ReportError(Message::EndifMissing, AfterError::Continue);
}

}  // namespace korvena::hypertext
