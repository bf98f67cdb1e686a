#include "statements.h"

namespace korvena::hypertext {

void HtxOutput::Emit(std::uint8_t byte) {
  if (bytes_.size() >= htx::kCapacity) {
    if (!overflowReported_) reader_.ReportError(Message::OutputTooLong, AfterError::Continue);
    overflowReported_ = true;
    return;
  }
  bytes_.push_back(static_cast<char>(byte));
}

void HtxOutput::Patch(std::uint16_t position, std::uint8_t byte) {
  if (position < bytes_.size()) bytes_[position] = static_cast<char>(byte);
}

Statements::Statements(SourceReader& reader, Scanner& scanner, Expressions& expressions, Preprocessor& preprocessor,
                       IdentifierTable& identifiers, HtxOutput& output)
    : reader_(reader),
      scanner_(scanner),
      expressions_(expressions),
      preprocessor_(preprocessor),
      identifiers_(identifiers),
      output_(output) {}

void Statements::Run() {
  for (;;) {
    const Token token = scanner_.Next();
    switch (token) {
      case Token::EndOfSource:
        preprocessor_.EndCheck();
        output_.Emit(htx::kLabelMark);
        return;
      case Token::LineEnd:
        break;
      case Token::StatementEnd:
        reader_.SkipRestOfLine();
        break;
      case Token::Define:
      case Token::Undef:
      case Token::Ifdef:
      case Token::Ifndef:
      case Token::Else:
      case Token::Endif:
      case Token::Const:
        preprocessor_.Directive(token);
        break;
      case Token::B:
      case Token::G:
      case Token::I:
      case Token::L:
      case Token::R:
      case Token::S:
      case Token::T:
      case Token::V:
      case Token::MV:
        if (preprocessor_.IsActive()) Statement(token);
        else reader_.SkipRestOfLine();
        break;
      default:
        // Even a skipped block must consist of statements and directives.
        reader_.ReportError(Message::UnknownCommand, AfterError::SkipToLineEnd);
        break;
    }
  }
}

void Statements::Statement(Token keyword) {
  switch (keyword) {
    case Token::B: return StatementB();
    case Token::G: return StatementG();
    case Token::I: return StatementI();
    case Token::L: return StatementL();
    case Token::R: return StatementR();
    case Token::S: return StatementS();
    case Token::T: return StatementT();
    case Token::V: return StatementV(false);
    case Token::MV: return StatementV(true);
    default: return;
  }
}

bool Statements::ExpectComma() {
  if (scanner_.Current() == Token::Comma) return true;
  reader_.ReportError(Message::CommaExpected, AfterError::SkipToLineEnd);
  return false;
}

bool Statements::ReadValue(TokenSet follow, std::int32_t& value) {
  scanner_.Next();
  return expressions_.Numeric(follow, value);
}

// B, value
void Statements::StatementB() {
  std::int32_t value = 0;
  scanner_.Next();
  if (!ExpectComma() || !ReadValue({Token::StatementEnd, Token::LineEnd}, value)) return;
  if (!scanner_.EndOfStatement()) return;
  output_.Emit(htx::kByte);
  EmitValue(value);
}

// G, label
void Statements::StatementG() {
  std::string label;
  scanner_.Next();
  if (!ExpectComma() || !scanner_.NextName(label)) return;
  scanner_.Next();
  if (!scanner_.EndOfStatement()) return;
  output_.Emit(htx::kGoto);
  Reference(label);
}

// I, variable index, label [, parameter ...]
void Statements::StatementI() {
  std::int32_t index = 0;
  scanner_.Next();
  if (!ExpectComma() || !ReadValue({Token::Comma}, index)) return;
  if (static_cast<std::uint8_t>(index) == 0)
    return reader_.ReportError(Message::VariableIndexOutOfRange, AfterError::SkipToLineEnd);
  std::string label;
  if (!ExpectComma() || !scanner_.NextName(label)) return;
  output_.Emit(htx::kIfVariable);
  EmitValue(index);
  if (!Reference(label)) return;

  // Only the first parameter is stored; the device reads no more.
  std::int32_t parameter = 0;
  bool given = false;
  scanner_.Next();
  while (scanner_.Current() == Token::Comma) {
    std::int32_t value = 0;
    if (!ReadValue({Token::Comma, Token::StatementEnd, Token::LineEnd}, value)) return;
    if (!given) parameter = value;
    given = true;
  }
  EmitValue(parameter);
  // Anything else after the label is a mistake worth telling.
  scanner_.EndOfStatement();
}

// L, label
void Statements::StatementL() {
  std::string label;
  scanner_.Next();
  if (!ExpectComma() || !scanner_.NextName(label)) return;
  scanner_.Next();
  if (!scanner_.EndOfStatement()) return;
  const std::int32_t number = ++labelCount_;
  if (number <= htx::kFixedSectionCount) {
    // The fixed sections come first, in their fixed order.
    if (label != htx::FixedSectionName(number))
      return reader_.ReportError(Message::WrongFixedLabel, AfterError::SkipToLineEnd);
  } else if (const int index = identifiers_.Find(label); index != 0) {
    tTableRec& record = identifiers_[index];
    if (record.kind != kKindLabel || record.number != -1)
      return reader_.ReportError(Message::RedeclareIdentifier, AfterError::SkipToLineEnd);
    record.number = number;
  } else {
    tTableRec record;
    record.name = label;
    record.kind = kKindLabel;
    record.number = number;
    if (identifiers_.Add(std::move(record)) == 0)
      return reader_.ReportError(Message::TooManyIdentifiers, AfterError::SkipToLineEnd);
  }
  output_.Emit(htx::kLabelMark);
}

// R
void Statements::StatementR() {
  scanner_.Next();
  if (!scanner_.EndOfStatement()) return;
  output_.Emit(htx::kReturn);
}

// S, value [, parameter 1 [, parameter 2]]
void Statements::StatementS() {
  const TokenSet follow = {Token::Comma, Token::StatementEnd, Token::LineEnd};
  std::int32_t value = 0;
  scanner_.Next();
  if (!ExpectComma() || !ReadValue(follow, value)) return;
  output_.Emit(htx::kVariable);
  EmitValue(value);
  int parameters = 0;
  while (scanner_.Current() == Token::Comma) {
    if (!ReadValue(follow, value)) return;
    if (++parameters <= 2) EmitValue(value);
    else reader_.ReportWarning(Message::VariableExtraParameter);
  }
  for (; parameters < 2; ++parameters) output_.Emit(0);
  scanner_.EndOfStatement();
}

// T, text list
void Statements::StatementT() {
  scanner_.Next();
  if (!ExpectComma()) return;
  const Token first = scanner_.Next();
  if (first != Token::Quote && first != Token::Name)
    return reader_.ReportError(Message::TextBetweenQuotes, AfterError::SkipToLineEnd);
  std::string text;
  if (!expressions_.TextList(text)) return;
  // The length is one byte; a longer text would print as a wrong one.
  if (text.size() > kMaxTextLength) return reader_.ReportError(Message::TextTooLong, AfterError::SkipToLineEnd);
  if (!scanner_.EndOfStatement()) return;
  output_.Emit(htx::kText);
  output_.Emit(static_cast<std::uint8_t>(text.size()));
  for (char c : text) output_.Emit(static_cast<std::uint8_t>(c));
}

// V, value, value, value  and  MV, value, value, value
void Statements::StatementV(bool marked) {
  std::int32_t values[3] = {};
  scanner_.Next();
  if (!ExpectComma() || !ReadValue({Token::Comma}, values[0])) return;
  if (!ExpectComma() || !ReadValue({Token::Comma}, values[1])) return;
  if (!ExpectComma() || !ReadValue({Token::StatementEnd, Token::LineEnd}, values[2])) return;
  if (!scanner_.EndOfStatement()) return;
  if (marked) output_.Emit(htx::kMarkedValues);
  output_.Emit(htx::kValues);
  for (std::int32_t value : values) EmitValue(value);
}

bool Statements::Reference(const std::string& name) {
  const std::uint16_t position = output_.Length();
  if (const int index = identifiers_.Find(name); index != 0) {
    tTableRec& record = identifiers_[index];
    if (record.kind != kKindLabel) {
      reader_.ReportError(Message::LabelExpected, AfterError::SkipToLineEnd);
      return false;
    }
    record.references.push_back(position);
  } else {
    tTableRec record;
    record.name = name;
    record.kind = kKindLabel;
    record.number = -1;
    record.references.push_back(position);
    if (identifiers_.Add(std::move(record)) == 0) {
      reader_.ReportError(Message::TooManyIdentifiers, AfterError::SkipToLineEnd);
      return false;
    }
  }
  output_.Emit(0);
  return true;
}

void Statements::CheckPass() {
  for (int index = 1; index <= identifiers_.Count(); ++index) {
    const tTableRec& record = identifiers_[index];
    if (record.kind == kKindLabel) {
      if (index > htx::kFixedSectionCount) {
        if (record.number == -1) reader_.ReportIdentifierError(Message::UnknownIdentifier, record.name);
        else if (record.references.empty()) reader_.ReportIdentifierWarning(Message::IdentifierNotUsed, record.name);
      }
      for (std::uint16_t position : record.references)
        output_.Patch(position, static_cast<std::uint8_t>(record.number));
    } else if (!record.used) {
      reader_.ReportIdentifierWarning(Message::IdentifierNotUsed, record.name);
    }
  }
}

}  // namespace korvena::hypertext
