#pragma once
// The directives: conditional symbols with the stack of nested conditions,
// and #const with the identifier table that holds constants and labels.
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "reader.h"
#include "scanner.h"

namespace korvena::hypertext {

class Expressions;

enum : std::uint8_t { kKindConstant = 0, kKindLabel = 1 };
enum : std::uint8_t { kValueNumeric = 0, kValueText = 1 };

// Longest text a constant keeps.
inline constexpr std::size_t kMaxTextLength = 255;

// One identifier: a constant (numeric or text) or a label.
struct tTableRec {
  std::string name;
  std::uint8_t kind = kKindConstant;
  bool used = false;
  // constant
  std::uint8_t valueType = kValueNumeric;
  std::int32_t value = 0;
  std::string text;
  // label
  std::int32_t number = -1;              // -1 while referenced but not defined
  std::vector<std::uint16_t> references; // output positions awaiting the number
};

class IdentifierTable {
 public:
  static constexpr int kCapacity = 150;

  // Starts with the fixed labels as entries 1 to 25.
  IdentifierTable();

  // Index (from 1) of the first entry with this name, 0 when none.
  int Find(std::string_view name) const;
  // Index of the new entry, 0 when the table is full.
  int Add(tTableRec record);
  tTableRec& operator[](int index) { return entries_[static_cast<std::size_t>(index - 1)]; }
  const tTableRec& operator[](int index) const { return entries_[static_cast<std::size_t>(index - 1)]; }
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  std::vector<tTableRec> entries_;
};

// One conditional symbol.
struct tDefRec {
  std::string name;
};

class Preprocessor {
 public:
  Preprocessor(SourceReader& reader, Scanner& scanner, Expressions& expressions, IdentifierTable& identifiers);

  // Whether the current line is compiled: every open condition holds.
  bool IsActive() const { return falseLevels_ == 0; }
  // Runs the directive whose keyword is the current token.
  void Directive(Token keyword);
  // After the last line: every #ifdef must have its #endif.
  void EndCheck();

 private:
  void Define();
  void Undef();
  void IfDefined(bool wanted);
  void Else();
  void Endif();
  void Const();
  bool IsDefined(std::string_view symbol) const;

  SourceReader& reader_;
  Scanner& scanner_;
  Expressions& expressions_;
  IdentifierTable& identifiers_;
  std::list<tDefRec> symbols_;
  // One flag per open level, innermost last. Nesting is not limited: a
  // level past any fixed bound still obeys the conditions around it.
  std::vector<bool> levels_;
  std::size_t falseLevels_ = 0;
};

}  // namespace korvena::hypertext
