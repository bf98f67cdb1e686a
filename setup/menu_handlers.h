#pragma once
// The one place that binds menu items to what they do. A handler is a plain
// function of the main window; each dialog's handler lives beside its dialog.
namespace korvena::kalibro {

class TKalibroForm35;

void RegisterMenuHandlers(TKalibroForm35& form);

// "&Koniec": closes the main window, which ends the program.
void menuExitClick(TKalibroForm35& form);

}  // namespace korvena::kalibro
