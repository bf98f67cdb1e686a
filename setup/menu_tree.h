#pragma once
// The main menu: top items and their items, each QAction named after its
// component (`menuSet`, `popupHead`, ...) so handlers, tests and later dialogs
// find it by objectName.
#include <QMenuBar>
#include <QString>
#include <vector>

namespace korvena::kalibro {

struct MenuItemRow {
  const char* name;     // component name; nullptr for a separator
  const char* caption;  // UTF-8
};

struct TopMenuRow {
  const char* name;
  const char* caption;
  std::vector<MenuItemRow> items;  // empty: the top item is a command itself
};

const std::vector<TopMenuRow>& MenuTree();

// Fills `bar` from MenuTree(). Top items with a submenu get a QMenu named
// after them (whose menuAction() carries the same name); every item is
// enabled.
void BuildMainMenu(QMenuBar& bar);

}  // namespace korvena::kalibro
