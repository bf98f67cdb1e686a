#include "scanner.h"

namespace korvena::hypertext {

namespace {

bool IsLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }
bool IsOctalDigit(std::uint8_t c) { return c >= '0' && c <= '7'; }

// Characters after which a "#" is a comment rather than a directive.
bool EndsLoneHash(std::uint8_t c) {
  return c == 0 || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' ';
}

}  // namespace

bool IsHexDigit(std::uint8_t c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

unsigned HexValue(std::uint8_t c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a') return c - 'a' + 10;
  return c - 'A' + 10;
}

Token Scanner::Next() { return current_ = ReadToken(); }

Token Scanner::ReadToken() {
  std::uint8_t c;
  do c = reader_.NextChar();
  while (c == ' ' || c == '\t');

  if (IsLetter(c) || c == '_' || c == '#') {
    if (c == '#' && EndsLoneHash(reader_.PeekChar())) return Token::StatementEnd;
    return ReadName(c);
  }
  if (IsDigit(c)) return ReadNumber(c);
  switch (c) {
    case '<':
    case '>':
      if (reader_.PeekChar() != c) return Token::Invalid;
      reader_.NextChar();
      return c == '<' ? Token::Shl : Token::Shr;
    case '&': return Token::Amp;
    case '|': return Token::Bar;
    case '^': return Token::Caret;
    case '~': return Token::Tilde;
    case '+': return Token::Plus;
    case '-': return Token::Minus;
    case '*': return Token::Star;
    case '/': return Token::Slash;
    case '%': return Token::Percent;
    case '(': return Token::LParen;
    case ')': return Token::RParen;
    case '=': return Token::Equals;
    case ',': return Token::Comma;
    case '"': return Token::Quote;
    case ';': return Token::StatementEnd;
    case '\r':
    case '\n': return Token::LineEnd;
    case 0: return Token::EndOfSource;
    default: return Token::Invalid;
  }
}

Token Scanner::ReadName(std::uint8_t first) {
  name_.assign(1, static_cast<char>(first));
  // Peeking, not reading on, keeps a name at the very end of the source on
  // its own line for the diagnostics.
  for (std::uint8_t c = reader_.PeekChar(); IsLetter(c) || IsDigit(c) || c == '_'; c = reader_.PeekChar()) {
    reader_.NextChar();
    if (name_.size() < kMaxNameLength) name_.push_back(static_cast<char>(c));
  }
  if (name_.size() <= 7) {
    for (const tWordsRec& keyword : kKeywords)
      if (keyword.word == name_) return keyword.kind;
  }
  return first == '#' ? Token::Invalid : Token::Name;
}

bool Scanner::AddDigit(unsigned& value, unsigned base, unsigned digit) {
  value = value * base + digit;
  if (value <= 255) return true;
  reader_.ReportError(Message::NumberTooLong, AfterError::Continue);
  return false;
}

Token Scanner::ReadNumber(std::uint8_t first) {
  unsigned value = 0;
  unsigned base = 10;
  if (first == '0') {
    const std::uint8_t after = reader_.PeekChar();
    if (after == 'x' || after == 'X') {
      reader_.NextChar();
      bool anyDigit = false;
      while (IsHexDigit(reader_.PeekChar())) {
        if (!AddDigit(value, 16, HexValue(reader_.NextChar()))) return Token::Invalid;
        anyDigit = true;
      }
      // "0x" alone means nothing.
      if (!anyDigit) return Token::Invalid;
      number_ = static_cast<std::uint8_t>(value);
      return Token::Number;
    }
    if (after == '0') {
      reader_.NextChar();
      return Token::Invalid;
    }
    if (IsDigit(after)) {
      // A leading 0 makes the number octal; its first digit is taken as it
      // stands, even 8 or 9.
      value = reader_.NextChar() - '0';
      base = 8;
    }
  } else {
    value = first - '0';
  }
  for (;;) {
    const std::uint8_t c = reader_.PeekChar();
    if (base == 8 ? !IsOctalDigit(c) : !IsDigit(c)) break;
    if (!AddDigit(value, base, reader_.NextChar() - '0')) return Token::Invalid;
  }
  number_ = static_cast<std::uint8_t>(value);
  return Token::Number;
}

bool Scanner::NextName(std::string& name) {
  if (Next() != Token::Name) {
    reader_.ReportError(Message::IdentifierExpected, AfterError::SkipToLineEnd);
    return false;
  }
  name = name_;
  return true;
}

bool Scanner::EndOfStatement() {
  if (current_ == Token::StatementEnd) {
    reader_.SkipRestOfLine();
    return true;
  }
  if (current_ == Token::LineEnd) return true;
  reader_.ReportError(Message::EndOfLineExpected, AfterError::SkipToLineEnd);
  return false;
}

}  // namespace korvena::hypertext
