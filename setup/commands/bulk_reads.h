#pragma once
// The menu commands that copy bulk data from the device into files: the
// fiscal memory and one SD-card day, each read on a worker thread while a
// progress window follows it.
namespace korvena::kalibro {

class CommandSession;

// Načítať fiškálnu pamäť: READFP into "korvena.bin".
void popupFPClick(CommandSession& session);
// Načítať deň z SD karty: asks for the day, READSD into day + ".tx".
void popupSDClick(CommandSession& session);

}  // namespace korvena::kalibro
