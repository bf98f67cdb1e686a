#include "cli_command.h"

namespace korvena::cli {

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = [] {
    std::vector<Command> all;
    for (const std::span<const Command> group :
         {StatusCommands(), TextCommands(), FiscalCommands(), MoneySettingCommands(), ServiceCommands(),
          TransferCommands(), SalesCommands()})
      all.insert(all.end(), group.begin(), group.end());
    return all;
  }();
  return commands;
}

const Command* FindCommand(std::string_view name) {
  for (const Command& command : AllCommands())
    if (command.name == name) return &command;
  return nullptr;
}

}  // namespace korvena::cli
