#include "expressions.h"

#include <limits>

namespace korvena::hypertext {

namespace {

const TokenSet kOperators = {Token::Plus,    Token::Minus, Token::Bar, Token::Caret, Token::Star, Token::Slash,
                             Token::Percent, Token::Amp,   Token::Shl, Token::Shr};
const TokenSet kAddOperators = {Token::Plus, Token::Minus, Token::Bar, Token::Caret};
const TokenSet kMulOperators = {Token::Star, Token::Slash, Token::Percent, Token::Amp, Token::Shl, Token::Shr};

// 32-bit arithmetic wraps around, as the device's compiler always did.
std::int32_t Wrap(std::uint32_t value) { return static_cast<std::int32_t>(value); }
std::uint32_t Bits(std::int32_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

bool Expressions::Numeric(TokenSet follow, std::int32_t& value) {
  const Token sign = scanner_.Current();
  if (sign == Token::Plus || sign == Token::Minus) scanner_.Next();
  if (!Term(follow, value)) return false;
  // The sign belongs to the whole first term.
  if (sign == Token::Minus) value = Wrap(0u - Bits(value));
  while (kAddOperators.Contains(scanner_.Current())) {
    const Token op = scanner_.Current();
    scanner_.Next();
    std::int32_t right = 0;
    if (!Term(follow, right)) return false;
    if (!Apply(op, value, right)) return false;
  }
  return true;
}

bool Expressions::Term(TokenSet follow, std::int32_t& value) {
  if (!Factor(follow, value)) return false;
  while (kMulOperators.Contains(scanner_.Current())) {
    const Token op = scanner_.Current();
    scanner_.Next();
    std::int32_t right = 0;
    if (!Factor(follow, right)) return false;
    if (!Apply(op, value, right)) return false;
  }
  return true;
}

bool Expressions::Factor(TokenSet follow, std::int32_t& value) {
  switch (scanner_.Current()) {
    case Token::Number:
      value = scanner_.Number();
      scanner_.Next();
      break;
    case Token::Name: {
      tTableRec* constant = Constant();
      if (!constant) return false;
      if (constant->valueType != kValueNumeric) {
        reader_.ReportError(Message::TypeMismatch, AfterError::SkipToLineEnd);
        return false;
      }
      // A constant keeps 32 bits, but in an expression only its low byte
      // counts, like any number written in the source.
      value = static_cast<std::uint8_t>(constant->value);
      scanner_.Next();
      break;
    }
    case Token::Tilde: {
      scanner_.Next();
      std::int32_t inner = 0;
      if (!Factor(follow, inner)) return false;
      value = Wrap(~Bits(inner));
      return true;
    }
    case Token::LParen:
      scanner_.Next();
      if (!Numeric(follow | TokenSet{Token::RParen}, value)) return false;
      if (scanner_.Current() != Token::RParen) {
        reader_.ReportError(Message::ErrorInExpression, AfterError::SkipToLineEnd);
        return false;
      }
      scanner_.Next();
      break;
    default:
      reader_.ReportError(Message::ErrorInExpression, AfterError::SkipToLineEnd);
      return false;
  }
  if (!(follow | kOperators).Contains(scanner_.Current())) {
    reader_.ReportError(Message::ErrorInExpression, AfterError::SkipToLineEnd);
    return false;
  }
  return true;
}

bool Expressions::Apply(Token op, std::int32_t& left, std::int32_t right) {
  const std::uint32_t a = Bits(left);
  const std::uint32_t b = Bits(right);
  switch (op) {
    case Token::Plus: left = Wrap(a + b); break;
    case Token::Minus: left = Wrap(a - b); break;
    case Token::Bar: left = Wrap(a | b); break;
    case Token::Caret: left = Wrap(a ^ b); break;
    case Token::Star: left = Wrap(a * b); break;
    case Token::Amp: left = Wrap(a & b); break;
    case Token::Shl: left = Wrap(a << (b & 31)); break;
    case Token::Shr: left = Wrap(a >> (b & 31)); break;
    case Token::Slash:
    case Token::Percent:
      if (right == 0) {
        reader_.ReportError(Message::DivisionByZero, AfterError::SkipToLineEnd);
        return false;
      }
      if (right == -1) {
        // The one quotient that does not fit in 32 bits; the remainder by -1
        // is always 0.
        if (op == Token::Slash && left == std::numeric_limits<std::int32_t>::min()) {
          reader_.ReportError(Message::DivisionOverflow, AfterError::SkipToLineEnd);
          return false;
        }
        left = op == Token::Slash ? Wrap(0u - a) : 0;
        break;
      }
      left = op == Token::Slash ? left / right : left % right;
      break;
    default: break;
  }
  return true;
}

tTableRec* Expressions::Constant() {
  const int index = identifiers_.Find(scanner_.Name());
  if (index == 0) {
    reader_.ReportError(Message::UnknownIdentifier, AfterError::SkipToLineEnd);
    return nullptr;
  }
  tTableRec& record = identifiers_[index];
  if (record.kind != kKindConstant) {
    reader_.ReportError(Message::ConstExpected, AfterError::SkipToLineEnd);
    return nullptr;
  }
  record.used = true;
  return &record;
}

bool Expressions::TextLiteral(std::string& text) {
  for (;;) {
    const std::uint8_t c = reader_.NextChar();
    if (c == '"') return true;
    if (c == '\r' || c == '\n' || (c == 0 && reader_.AtEnd())) {
      reader_.ReportError(Message::TextBetweenQuotes, AfterError::SkipToLineEnd);
      return false;
    }
    if (c == '\\') {
      if (!Escape(text)) return false;
    } else {
      text.push_back(static_cast<char>(c));
    }
  }
}

bool Expressions::Escape(std::string& text) {
  const std::uint8_t c = reader_.NextChar();
  switch (c) {
    case '"':
    case '\'':
    case '?':
    case '\\': text.push_back(static_cast<char>(c)); return true;
    case '0': text.push_back('\0'); return true;
    case 'a': text.push_back('\a'); return true;
    case 'b': text.push_back('\b'); return true;
    case 'f': text.push_back('\f'); return true;
    case 'n': text.push_back('\n'); return true;
    case 'r': text.push_back('\r'); return true;
    case 't': text.push_back('\t'); return true;
    case 'v': text.push_back('\v'); return true;
    case 'x': {
      unsigned value = 0;
      int digits = 0;
      while (digits < 2 && IsHexDigit(reader_.PeekChar())) {
        value = value * 16 + HexValue(reader_.NextChar());
        ++digits;
      }
      if (digits == 0) {
        reader_.ReportError(Message::NumberExpected, AfterError::SkipToLineEnd);
        return false;
      }
      text.push_back(static_cast<char>(value));
      return true;
    }
    default:
      break;
  }
  if (c >= '1' && c <= '7') {
    unsigned value = c - '0';
    for (int more = 0; more < 2; ++more) {
      const std::uint8_t next = reader_.PeekChar();
      if (next < '0' || next > '7') break;
      value = value * 8 + (reader_.NextChar() - '0');
    }
    if (value > 255) {
      reader_.ReportError(Message::NumberTooLong, AfterError::SkipToLineEnd);
      return false;
    }
    text.push_back(static_cast<char>(value));
    return true;
  }
  if (c == 0 && reader_.AtEnd()) {
    reader_.ReportError(Message::TextBetweenQuotes, AfterError::SkipToLineEnd);
    return false;
  }
  reader_.ReportError(Message::WrongEscape, AfterError::SkipToLineEnd);
  return false;
}

bool Expressions::TextList(std::string& text) {
  std::string joined;
  for (;; scanner_.Next()) {
    switch (scanner_.Current()) {
      case Token::Number:
        joined += std::to_string(scanner_.Number());
        continue;
      case Token::Name: {
        const tTableRec* constant = Constant();
        if (!constant) return false;
        joined += constant->valueType == kValueText ? constant->text : std::to_string(constant->value);
        continue;
      }
      case Token::Quote:
        if (!TextLiteral(joined)) return false;
        continue;
      case Token::LParen: {
        scanner_.Next();
        std::int32_t value = 0;
        if (!Numeric(TokenSet{Token::RParen}, value)) return false;
        joined += std::to_string(static_cast<std::uint8_t>(value));
        continue;
      }
      default:
        break;
    }
    break;
  }
  if (scanner_.Current() != Token::StatementEnd && scanner_.Current() != Token::LineEnd) {
    reader_.ReportError(Message::ErrorInExpression, AfterError::SkipToLineEnd);
    return false;
  }
  text = std::move(joined);
  return true;
}

}  // namespace korvena::hypertext
