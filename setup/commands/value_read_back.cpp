#include "commands/value_read_back.h"

#include <stdexcept>
#include <string>

#include "shell/status_layout.h"

namespace korvena::kalibro {

void ReadBackValue(CommandSession& session, const char* name) {
  const ValueCell* cell = FindValueCell(name);
  if (cell == nullptr) throw std::logic_error(std::string("the status display has no value ") + name);
  for (const int number : CellInfos(*cell)) session.values().Set(number, session.QueryInfo(number));
}

}  // namespace korvena::kalibro
