#include "value_read_back.h"

#include <stdexcept>
#include <string>

#include "status_layout.h"
#include "windows1250.h"

namespace korvena::kalibro {

void ReadBackValue(CommandSession& session, const char* name) {
  const ValueCell* cell = FindValueCell(name);
  if (cell == nullptr) throw std::logic_error(std::string("the status display has no value ") + name);
  const std::string text = ReadValueText(*cell, [&session](int n) { return session.QueryInfo(n); });
  session.SetValueLabel(cell->name, FromWindows1250(text));
}

}  // namespace korvena::kalibro
