#pragma once
// Kalibro's string table: every text the technician sees, in UTF-8. Shown
// through Text(), which makes the QString at the Qt boundary.
#include <QString>
#include <QStringList>
#include <cstddef>

namespace korvena::kalibro {

inline QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// A list of texts, such as the items of a radio group, in its order.
template <std::size_t N>
QStringList Texts(const char* const (&utf8)[N]) {
  QStringList texts;
  for (const char* text : utf8) texts << Text(text);
  return texts;
}

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

// A menu item whose command is not there yet.
inline constexpr const char* kNotAvailableYet = "Táto funkcia zatiaľ nie je k dispozícii.";

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
// Tax identity, VAT coefficients, module register and commissioning.
inline constexpr const char* kDickpFormCaption = "DIČ, DKP, IČ DPH a IČO";
inline constexpr const char* kDicLabel = "DIČ:";
inline constexpr const char* kDkpLabel = "DKP:";
inline constexpr const char* kIcDphLabel = "IČ DPH:";
inline constexpr const char* kIcoLabel = "IČO:";
inline constexpr const char* kKdphFormCaption = "Koeficienty DPH";
inline constexpr const char* kVatCoefficientLabel = "kDPH%1:";
inline constexpr const char* kBadVatCoefficient = "Nesprávny koeficient DPH%1 !";
inline constexpr const char* kRegFormCaption = "Register modulu";
inline constexpr const char* kControlLCaption = "riadenie tlače - dolný bit";
inline constexpr const char* kControlMCaption = "riadenie tlače - stredný bit";
inline constexpr const char* kControlHCaption = "riadenie tlače - horný bit";
inline constexpr const char* kAutoTimeCaption = "automatický prevod SEČ-SELČ";
inline constexpr const char* kHvCaption = "tlačiť zaokrúhlenie";
inline constexpr const char* kPrinterCaption = "inicializácia tlačiarne";
inline constexpr const char* kDlCaption = "tlačiť výpočet v druhej mene";
inline constexpr const char* kServCaption = "príznak servisnej kontroly";
inline constexpr const char* kDispCaption = "príznak odpojenia displeja";
inline constexpr const char* kPrnCaption = "príznak odpojenia tlačiarne";
inline constexpr const char* kFPCaption = "príznak odpojenia fiškálnej pamäti";
inline constexpr const char* kDPHCaption = "plátca DPH";
inline constexpr const char* kAutoDZCaption = "automatická DZ";
inline constexpr const char* kDZCaption = "denná uzávierka";
inline constexpr const char* kInitCaption = "inicializácia modulu";
inline constexpr const char* kTestCaption = "test režim";
inline constexpr const char* kUDPCaption = "uvedenie do prevádzky";
inline constexpr const char* kDisplayCaption = "vypnutie displeja";
inline constexpr const char* kVkladCaption = "automatický vklad";
inline constexpr const char* kAutomaticDepositPrompt = "Zadajte hodnotu automatického vkladu";
inline constexpr const char* kCRCFormCaption = "Uvedenie do prevádzky";
inline constexpr const char* kCommissioningWarning =
    "Uvedenie do prevádzky. Pred použitím skontrolujte správnosť jednotlivých údajov na doklade (DKP, IČDHP, DIČ, "
    "Hlavičku, Koniec dokladu, hypertext). Po uvedení do prevádzky tieto údaje zapíšu do fiškálnej pamäti a už ich "
    "nebude možné zmeniť.";
inline constexpr const char* kCommissionButton = "&Uviezť do prevádzky";
// Service commands: texts file, clock, closing date, line speeds, emblem,
// operating memory, pairing and the user command.
inline constexpr const char* kSaveTextsCaption = "Uložiť texty do súboru";
inline constexpr const char* kAdzmzFormCaption = "Nastavenie dátumu a času:";
inline constexpr const char* kModuleTimeLabel = "Čas v module";
inline constexpr const char* kAutomaticClosingLabel = "Dátum automatickej DU:";
inline constexpr const char* kDateRowLabel = "Dátum:";
inline constexpr const char* kTimeRowLabel = "Čas:";
inline constexpr const char* kSetBaudRateCaption = "Nastavenie komunikačných rýchlostí";
inline constexpr const char* kPcLineCaption = "PC->KV";
inline constexpr const char* kInternalLineCaption = "KV interná";
inline constexpr const char* kDeviceAnswersAtRate = "Zariadenie odpovedá rýchlosťou %1 Bd.";  // %1: the rate
inline constexpr const char* kDeviceLost = "Spojenie so zariadením sa stratilo !";
inline constexpr const char* kLoadMFCaption = "Nahratie loga MF";
// The receipt printers the emblem can be loaded for, in list order.
inline constexpr const char* kEmblemPrinterCaptions[] = {"EPSON TM88",     "EPSON TM220", "SAMSUNG SRP350",
                                                         "GP 5890",        "STAR TSP650", "EPSON TM H6000",
                                                         "EPSON TM U950P", "SAMSUNG STP131"};
inline constexpr const char* kEraseOperatingMemory = "Skutočne chcete vymazať prevádzkovú pamäť?";
inline constexpr const char* kPairingDone = "Spárovanie prebehlo.";
inline constexpr const char* kSendCMDCaption = "SendCMD";
inline constexpr const char* kMaskCommandCaption = "Password";

// Receipts and invoices.
inline constexpr const char* kStartBCaption = "Štart bločku";
inline constexpr const char* kReceiptModeCaptions[] = {"MOD A", "MOD B", "MOD C", "MOD D", "MOD E"};
inline constexpr const char* kRiadokBCaption = "Riadok bločku";
// The line kinds, in the order of their commands L, LS, LZ, LP, LM and LV.
inline constexpr const char* kLineKindCaptions[] = {"Kladná položka", "Storno",          "Zľava",
                                                    "Prirážka",       "Záporná položka", "Vrátený tovar"};
// The VAT classes A to I, in the order of their letters.
inline constexpr const char* kVatClassCaptions[] = {
    "A 0% bez DPH",         "B KDPH1% bez DPH",     "C KDPH2% bez DPH",
    "D KDPH1% vrátane DPH", "E KDPH2% vrátane DPH", "F KDPH3% bez DPH",
    "G KDPH4% bez DPH",     "H KDPH3% vrátane DPH", "I KDPH4% vrátane DPH"};
inline constexpr const char* kQuantityLabel = "Počet kusov";
inline constexpr const char* kUnitPriceLabel = "Jednotková cena";
inline constexpr const char* kLineTextLabel = "Text";
inline constexpr const char* kBadUnitPrice = "Zle zadaná jednotková cena!";
inline constexpr const char* kBadQuantity = "Zle zadaný počet kusov!";
inline constexpr const char* kKoniecBCaption = "Koniec bločku";
inline constexpr const char* kKoniecFakturyCaption = "Koniec faktúry";
// The six means of payment, 1 to 6.
inline constexpr const char* kPaymentCaptions[] = {"Platidlo 1 (Cash)",    "Platidlo 2 (Card)", "Platidlo 3 (Credit)",
                                                   "Platidlo 4 (Faktúra)", "Platidlo 5",        "Platidlo 6"};
inline constexpr const char* kBadPayment = "Zle zadaná suma platidlo %1!";  // %1: 1..6
inline constexpr const char* kFakturaCaption = "Faktúra";
inline constexpr const char* kInvoiceTextLabel = "Text faktúry:";
inline constexpr const char* kInvoiceAmountLabel = "Suma:";
// Reports and cash movements.
inline constexpr const char* kFirstClosingNumberPrompt = "Zadajte číslo prvej uzávierky";
inline constexpr const char* kLastClosingNumberPrompt = "Zadajte číslo poslednej uzávierky";
inline constexpr const char* kFirstClosingDatePrompt = "Zadajte dátum prvej uzávierky v tvare dd;mm;yyyy";
inline constexpr const char* kLastClosingDatePrompt = "Zadajte dátum poslednej uzávierky v tvare dd;mm;yyyy";
inline constexpr const char* kDepositCaption = "Vklad";
inline constexpr const char* kWithdrawalCaption = "Výber";
inline constexpr const char* kCashAmountLabel = "Suma";
// Fiscal memory and SD-card days.
inline constexpr const char* kReadingFiscalMemory = "Načítavam fiškálnu pamäť ...";
inline constexpr const char* kFiscalMemoryRead = "Fiškálna pamäť bola načítaná !";
inline constexpr const char* kAskSdDay = "Zadajte dátum v tvare yyyymmdd";
inline constexpr const char* kSdDayFileCreated = "Súbor %1 bol vytvorený !";  // %1: the day's file name
// Template upload.
inline constexpr const char* kHtxFileFilter = "Korvena HyperTeXt file (*.htx)";
inline constexpr const char* kHtxFileTooLarge = "Súbor %1 je väčší ako 5120 bajtov !";  // %1: the file chosen
inline constexpr const char* kWritingHtx = "Zapisujem HTX ...";
inline constexpr const char* kHtxProgress = "Packet = %1, Retry = %2, Err = %3";
inline constexpr const char* kHtxLoaded = "Nahratie HTX prebehlo v poriadku.";
inline constexpr const char* kHtxNotLoaded = "Nastala chyba pri nahrávaní HTX.";

}  // namespace korvena::kalibro
