#pragma once
// The identifier table: every constant and label of one compilation, the 25
// fixed section labels first. Directives enter constants, statements enter
// labels, and the check pass walks the whole table.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvena::hypertext {

enum : std::uint8_t { kKindConstant = 0, kKindLabel = 1 };
enum : std::uint8_t { kValueNumeric = 0, kValueText = 1 };

// Longest text a constant keeps, and a T statement emits: its length is one
// byte in the HTX file.
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

}  // namespace korvena::hypertext
