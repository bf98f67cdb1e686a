#pragma once
// The "&Funkcie FT" commands for the device's closing reports and for cash
// put into or taken out of the drawer. The device makes the reports; Kalibro
// only sends the command and reads back the values it changes.
namespace korvena::kalibro {

class CommandSession;

// DX: the running daily report.
void menuDXClick(CommandSession& session);
// DZ: the final daily closing, without asking; the closing values read back.
void menuDZClick(CommandSession& session);
// MI: the interval report between two closing numbers.
void menuMXClick(CommandSession& session);
// MD: the interval report between two closing dates, dd;mm;yyyy each.
void menuMZClick(CommandSession& session);
// V with the amount: a deposit; the cash counters read back.
void menuVkladClick(CommandSession& session);
// V with "-" and the amount: a withdrawal; the cash counters read back.
void menuVyberClick(CommandSession& session);

}  // namespace korvena::kalibro
