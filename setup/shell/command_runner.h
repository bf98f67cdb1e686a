#pragma once
// Runs the program's exchange sequences one at a time: the start-up and every
// menu command. A sequence asked for while another runs is refused (the
// exchange guard), and an error that escapes a sequence is shown in an error
// box; the program stays usable.
#include <QString>
#include <functional>
#include <map>

#include "shell/exchange_guard.h"
#include "shell/user_interaction.h"

namespace korvena::kalibro {

class CommandRunner {
 public:
  using Handler = std::function<void()>;

  CommandRunner(ExchangeGuard& guard, UserInteraction& ui) : guard_(guard), ui_(ui) {}

  // Binds the menu item with component name `name` to `handler`.
  void SetHandler(const QString& name, Handler handler) { handlers_[name] = std::move(handler); }
  bool HasHandler(const QString& name) const { return handlers_.count(name) != 0; }

  // Runs the handler of menu item `name`; false when another sequence is
  // running (nothing is done then) or the item has no handler yet (the
  // technician is told so).
  bool RunMenuCommand(const QString& name);

  // Runs `sequence` under the guard; false when another sequence is running.
  bool RunExclusive(const Handler& sequence);

 private:
  ExchangeGuard& guard_;
  UserInteraction& ui_;
  std::map<QString, Handler> handlers_;
};

}  // namespace korvena::kalibro
