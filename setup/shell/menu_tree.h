#pragma once
// The main menu, one row a command: its component name (`menuSet`,
// `popupHead`, ...; each QAction is named so for handlers, tests and
// pictures), its caption, what it does (a command of setup/commands/, which
// fills its dialog from an operation and hands the input to one) and
// whether it needs the service password.
#include <QMenuBar>
#include <QString>
#include <vector>

namespace korvena::kalibro {

class CommandSession;
class TKalibroForm35;
using MenuHandler = void (*)(CommandSession&);

struct MenuItemRow {
  const char* name = nullptr;     // component name; nullptr for a separator
  const char* caption = nullptr;  // UTF-8
  MenuHandler handler = nullptr;
  bool needsPassword = false;
};

struct TopMenuRow {
  const char* name;
  const char* caption;
  bool needsPassword;              // every item of it
  std::vector<MenuItemRow> items;  // empty: the top item is a command itself
};

const std::vector<TopMenuRow>& MenuTree();

// Fills `bar` from MenuTree(). Top items with a submenu get a QMenu named
// after them (whose menuAction() carries the same name); every item is
// enabled.
void BuildMainMenu(QMenuBar& bar);

// Binds every item to its command in the form's command runner.
void RegisterMenuHandlers(TKalibroForm35& form);

// Greys the commands that need the service password (a start without one).
void DisablePasswordCommands(TKalibroForm35& form);

}  // namespace korvena::kalibro
