#pragma once
// A command of kalibro-cli: its name, synopsis and description for the
// help, and how it turns its arguments into a plan. Planning checks every
// argument and reads every file before the port is opened; the plan says
// whether the service password is needed and holds the step that runs on
// the connected device.
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "arguments.h"
#include "korvena/session/device_session.h"
#include "result_output.h"

namespace korvena::cli {

using session::DeviceSession;

struct Plan {
  bool needsPassword = false;
  std::function<Result(DeviceSession&)> run;
};

struct Command {
  std::string_view name;
  std::string_view synopsis;     // its forms, one a line, after the program's name and options
  std::string_view description;  // what it does, for "COMMAND --help"
  Plan (*plan)(Arguments& arguments);
};

// The groups, one file each.
std::span<const Command> StatusCommands();
std::span<const Command> TextCommands();
std::span<const Command> FiscalCommands();
std::span<const Command> MoneySettingCommands();
std::span<const Command> ServiceCommands();
std::span<const Command> TransferCommands();
std::span<const Command> SalesCommands();

// Every command, in the order the help lists them.
const std::vector<Command>& AllCommands();
const Command* FindCommand(std::string_view name);

}  // namespace korvena::cli
