#pragma once
// Tokens of the DTX language, read from the source one at a time.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader.h"

namespace korvena::hypertext {

enum class Token : std::uint8_t {
  EndOfSource,
  Invalid,
  Number,
  Name,
  StatementEnd,  // ";" or a lone "#"
  LineEnd,       // CR or LF
  Comma,
  Equals,
  Quote,  // opens a text literal
  // statements
  B, G, I, L, R, S, T, V, MV,
  // directives
  Define, Undef, Ifdef, Ifndef, Else, Endif, Const,
  // expression operators
  LParen, RParen, Plus, Minus, Star, Slash, Percent, Tilde, Amp, Bar, Caret, Shl, Shr,
};

// A set of token kinds, for the tokens an expression may end with.
class TokenSet {
 public:
  constexpr TokenSet() = default;
  constexpr TokenSet(std::initializer_list<Token> tokens) {
    for (Token t : tokens) bits_ |= Bit(t);
  }
  constexpr bool Contains(Token t) const { return (bits_ & Bit(t)) != 0; }
  constexpr TokenSet operator|(TokenSet other) const { return TokenSet(bits_ | other.bits_); }

 private:
  constexpr explicit TokenSet(std::uint64_t bits) : bits_(bits) {}
  static constexpr std::uint64_t Bit(Token t) { return std::uint64_t{1} << static_cast<unsigned>(t); }
  std::uint64_t bits_ = 0;
};

// A keyword and the token it reads as.
struct tWordsRec {
  std::string_view word;
  Token kind;
};

inline constexpr std::array<tWordsRec, 16> kKeywords = {{
    {"B", Token::B},
    {"G", Token::G},
    {"I", Token::I},
    {"L", Token::L},
    {"R", Token::R},
    {"S", Token::S},
    {"T", Token::T},
    {"V", Token::V},
    {"MV", Token::MV},
    {"#define", Token::Define},
    {"#undef", Token::Undef},
    {"#ifdef", Token::Ifdef},
    {"#ifndef", Token::Ifndef},
    {"#else", Token::Else},
    {"#endif", Token::Endif},
    {"#const", Token::Const},
}};

// Only this many characters of a name count.
inline constexpr std::size_t kMaxNameLength = 30;

class Scanner {
 public:
  explicit Scanner(SourceReader& reader) : reader_(reader) {}

  // Reads the next token and makes it the current one.
  Token Next();
  Token Current() const { return current_; }
  // Text of the last name (or keyword) read, at most 30 characters.
  const std::string& Name() const { return name_; }
  // Value of the last number read, 0 to 255.
  std::uint8_t Number() const { return number_; }

  // Reads the next token, which must be a name (error 6 otherwise), and
  // copies the name.
  bool NextName(std::string& name);

  // Accepts the current token as the end of a statement: a line end, or a
  // statement end whose comment is skipped. Anything else is error 3.
  bool EndOfStatement();

 private:
  Token ReadToken();
  Token ReadName(std::uint8_t first);
  Token ReadNumber(std::uint8_t first);
  // Adds one digit; false (after error 1) when the value passes 255.
  bool AddDigit(unsigned& value, unsigned base, unsigned digit);

  SourceReader& reader_;
  Token current_ = Token::EndOfSource;
  std::string name_;
  std::uint8_t number_ = 0;
};

bool IsHexDigit(std::uint8_t c);
unsigned HexValue(std::uint8_t c);

}  // namespace korvena::hypertext
