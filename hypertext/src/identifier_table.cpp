#include "identifier_table.h"

#include <utility>

#include "korvena/hypertext/htx_format.h"

namespace korvena::hypertext {

IdentifierTable::IdentifierTable() {
  entries_.reserve(kCapacity);
  for (int number = 1; number <= htx::kFixedSectionCount; ++number) {
    tTableRec label;
    label.name = htx::FixedSectionName(number);
    label.kind = kKindLabel;
    label.number = number;
    entries_.push_back(std::move(label));
  }
}

int IdentifierTable::Find(std::string_view name) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].name == name) return static_cast<int>(i + 1);
  return 0;
}

int IdentifierTable::Add(tTableRec record) {
  if (Count() >= kCapacity) return 0;
  entries_.push_back(std::move(record));
  return Count();
}

}  // namespace korvena::hypertext
