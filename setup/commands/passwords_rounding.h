#pragma once
// The menu commands for three small settings of the device: its password,
// its four currencies and its six rounding coefficients.
namespace korvena::kalibro {

class CommandSession;

// Zmena hesla: STPASS with the old password checked first.
void popupPasswdClick(CommandSession& session);
// Currency symbols and rates: info 72..75 shown, STKZ for each row kept.
void popupKurzMenaClick(CommandSession& session);
// Rounding coefficients: info 150 shown, one STZTYP with all six.
void popupZtypClick(CommandSession& session);

}  // namespace korvena::kalibro
