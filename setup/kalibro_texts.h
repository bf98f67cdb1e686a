#pragma once
// Kalibro's string table: every text the technician sees, in UTF-8. Shown
// through Text(), which makes the QString at the Qt boundary.
#include <QString>

namespace korvena::kalibro {

inline QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

inline constexpr const char* kApplicationTitle = "KORVENA.2010 nastavenie";
inline constexpr const char* kAboutCommandCaption = "&Informácie o...";
inline constexpr const char* kAboutCaptionPrefix = "About ";
inline constexpr const char* kAboutComments = "Servisný program fiškálneho modulu KORVENA.2010";
inline constexpr const char* kAboutCredit = "Zostavil tím Korvena PC, Bratislava";

// Connection sequence.
inline constexpr const char* kComFormCaption = "COM nastavenie";
inline constexpr const char* kComItemFormat = "Com &%1";
inline constexpr const char* kOkButton = "&OK";
inline constexpr const char* kCancelButton = "&Zrušiť";
inline constexpr const char* kCannotOpenPort = "Nie je možné otvoriť COM port !";
inline constexpr const char* kDeviceNotFound = "KORVENA.2010 nebol nájdený na COM porte !";
inline constexpr const char* kPassIFormCaption = "Vstup hesla";
inline constexpr const char* kPasswordLabel = "Heslo:";
inline constexpr const char* kWrongPassword = "Nesprávne heslo !";
inline constexpr const char* kInvalidInput = "InvalidInput";
inline constexpr const char* kLoadingData = "Načítavam údaje ...";
inline constexpr const char* kSearchingDevice = "Hľadám KORVENA.2010 ...";

// Shared by the dialogs that write into the device or load texts files.
inline constexpr const char* kWriteConfirmation = "Zapísať údaje do fiškálnej tlačiarne.";
inline constexpr const char* kReadButton = "&Načítať";
inline constexpr const char* kWriteButton = "&Zapísať";
inline constexpr const char* kReadTextsCaption = "Načítať texty do súboru";
inline constexpr const char* kTextFileFilter = "Text file (*.txt)";
inline constexpr const char* kKalibroFileFilter = "Kalibro file (*.set)";

// Passwords, currencies and rounding.
inline constexpr const char* kPassCFormCaption = "Zmena hesla";
inline constexpr const char* kOldPasswordLabel = "Staré:";
inline constexpr const char* kNewPasswordLabel = "Nové:";
inline constexpr const char* kMenaFormCaption = "Nastavenie kurzu a symbolu mien";
inline constexpr const char* kZtypFormCaption = "Nastavenie zaokrúhľovania";
// The rounding entries Za, Zb, Zc, Zhv, Zd and Zk, in the device's order.
inline constexpr const char* kRoundingEntryCaptions[] = {"Za:", "Zb:", "Zc:", "Zhv:", "Zd:", "Zk:"};
inline constexpr const char* kWrongRoundingEntry = "Nesprávny koeficient zaokrúhľovania %1 !";  // %1: its caption
inline constexpr const char* kNoRoundingEntries = "Zariadenie neposlalo koeficienty zaokrúhľovania !";
// Receipt header and footer.
inline constexpr const char* kHeadCaption = "Nastavenie hlavičky dokladu";
inline constexpr const char* kTailCaption = "Nastavenie päty dokladu";

}  // namespace korvena::kalibro
