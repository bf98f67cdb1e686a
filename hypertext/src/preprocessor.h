#pragma once
// The directives: conditional symbols with the stack of nested conditions,
// and #const, which enters constants in the identifier table.
#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "identifier_table.h"
#include "reader.h"
#include "scanner.h"

namespace korvena::hypertext {

class Expressions;

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
