#pragma once
// The menu command that loads a compiled template file (HTX) into the device.
namespace korvena::kalibro {

class CommandSession;

// Nahrať HTX do tlačiarne: the file in 8-byte STHTX packets, then STHTXLEN.
void popupSendrixClick(CommandSession& session);

}  // namespace korvena::kalibro
