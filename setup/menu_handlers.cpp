#include "menu_handlers.h"

#include "kalibro_form.h"

namespace korvena::kalibro {
namespace {

using MenuHandler = void (*)(TKalibroForm35&);

// Component name of the menu item -> its handler. Items not listed yet are
// shown and enabled but do nothing when chosen.
const struct {
  const char* name;
  MenuHandler handler;
} kMenuHandlers[] = {
    {"menuExit", menuExitClick},
};

}  // namespace

void RegisterMenuHandlers(TKalibroForm35& form) {
  for (const auto& row : kMenuHandlers) {
    const MenuHandler handler = row.handler;
    form.commands().SetHandler(row.name, [&form, handler] { handler(form); });
  }
}

void menuExitClick(TKalibroForm35& form) { form.EndProgram(); }

}  // namespace korvena::kalibro
