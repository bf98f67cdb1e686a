#pragma once
// The one place that binds menu items to what they do. Each menu command is
// a plain function of the CommandSession, in setup/commands/, one file per
// group of commands.
namespace korvena::kalibro {

class TKalibroForm35;

void RegisterMenuHandlers(TKalibroForm35& form);

}  // namespace korvena::kalibro
