#pragma once
// The "&Funkcie FT" commands that drive a sale by hand, one step each:
// open a receipt, add a line, close it with the payments; open and close an
// invoice. Kalibro keeps no state of an open document: the device decides
// whether a step fits, and its refusals show only in the values read back.
namespace korvena::kalibro {

class CommandSession;

// S with the receipt mode; the check sums and the closing dates read back.
void menuStartBlokClick(CommandSession& session);
// L, LS, LZ, LP, LM or LV with quantity, unit price, VAT letter and text.
void menuRiadokBlokClick(CommandSession& session);
// K with the six payments, then the totals refreshed.
void menuKoniecBlokClick(CommandSession& session);
// F with the amount and the invoice text.
void popupStartFAClick(CommandSession& session);
// KF with the six payments, then the totals refreshed.
void popupEndFAClick(CommandSession& session);

}  // namespace korvena::kalibro
