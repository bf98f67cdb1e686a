#include "shell/menu_tree.h"

#include <QMenu>

#include "commands/bulk_reads.h"
#include "commands/fiscal_identity_commands.h"
#include "commands/header_footer.h"
#include "commands/htx_upload.h"
#include "shell/kalibro_form.h"
#include "shell/kalibro_texts.h"
#include "commands/passwords_rounding.h"
#include "commands/receipts_invoices.h"
#include "commands/reports_cash.h"
#include "commands/service_commands.h"

namespace korvena::kalibro {
namespace {

// Who may use a command: without the service password the device refuses
// the settings, so their items are greyed after a start without one.
constexpr bool kPassword = true;
constexpr bool kAnyone = false;

}  // namespace

const std::vector<TopMenuRow>& MenuTree() {
  static const std::vector<TopMenuRow> tree = {
      {"menuSet",
       "&Nastavenie",
       kPassword,
       {
           {"popupFile", "Uložiť texty do súboru ...", popupFileClick},
           {"popupHead", "Hlavička dokladu...", popupHeadClick},
           {"popupTail", "Päta dokladu...", popupTailClick},
           {"popupDICDKP", "DIČ, DKP a IČ DPH...", popupDICDKPClick},
           {"popupLoadMF", "Nahrať znak MF...", popupLoadMFClick},
           {},
           {"popupRepair", "Uvedenie do prevádzky...", popupRepairClick},
           {},
           {"popupRegister", "Register modulu...", popupRegisterClick},
           {},
           {"popupSetDDate", "Nastavenie dátumu automatickej uzávierky ...", popupSetDDateClick},
           {"popupkDPH", "Nastavenie koeficientov DPH...", popupkDPHClick},
           {"popupZtyp", "Nastavenie koeficientov zaokrúhľovania ...", popupZtypClick},
           {"popupKurzMena", "Nastavenie kurzu a symbolu meny ...", popupKurzMenaClick},
           {"popupBaudRate", "Komunikačné rýchlosti...", popupBaudRateClick},
           {},
           {"popupNGT", "Nulovanie Prevádzkovej pamäte...", popupNGTClick},
           {},
           {"popupTime", "Čas v module...", popupTimeClick},
           {},
           {"popupPasswd", "Zmena hesla...", popupPasswdClick},
       }},
      {"menuHTX", "&HTX", kAnyone, {{"popupSendrix", "Nahrať HTX do tlačiarne ...", popupSendrixClick}}},
      {"menuFP",
       "Fiškálna &pamäť",
       kAnyone,
       {
           {"popupFP", "Načítať fiškálnu pamäť...", popupFPClick},
           {"popupPairFP", "Spárovať starú Fiškánu Pamäť s modulom ...", popupPairFPClick, kPassword},
       }},
      {"menuSD", "&SD karta", kAnyone, {{"popupSD", "Načítať deň z SD karty ...", popupSDClick}}},
      {"menuBlok",
       "&Funkcie FT",
       kAnyone,
       {
           {"menuVklad", "Vklad ...", menuVkladClick},
           {"menuVyber", "Výber ...", menuVyberClick},
           {},
           {"menuStartBlok", "Štart bločku ...", menuStartBlokClick},
           {"menuRiadokBlok", "Riadok bločku ...", menuRiadokBlokClick},
           {"menuKoniecBlok", "Koniec bločku ...", menuKoniecBlokClick},
           {},
           {"popupStartFA", "Štart faktúry ...", popupStartFAClick},
           {"popupEndFA", "Koniec faktúry ...", popupEndFAClick},
           {},
           {"menuDX", "Denná priebežná uzávierka (DX) ...", menuDXClick},
           {"menuDZ", "Denná definitívna uzávierka (DZ) ...", menuDZClick},
           {},
           {"menuMX", "Intervalová uzávierka podľa čísel uzávierok ...", menuMXClick},
           {"menuMZ", "Intervalová uzávierka podľa dátumov uzávierok ...", menuMZClick},
           {},
           {"popupUserCMD", "Užívateľský príkaz ...", popupUserCMDClick},
       }},
      {"menuExit", "&Koniec", kAnyone, {}},
  };
  return tree;
}

void BuildMainMenu(QMenuBar& bar) {
  for (const TopMenuRow& top : MenuTree()) {
    if (top.items.empty()) {
      QAction* command = bar.addAction(Text(top.caption));
      command->setObjectName(top.name);
      continue;
    }
    QMenu* menu = bar.addMenu(Text(top.caption));
    menu->setObjectName(top.name);
    menu->menuAction()->setObjectName(top.name);
    for (const MenuItemRow& item : top.items) {
      if (item.name == nullptr) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(Text(item.caption));
      action->setObjectName(item.name);
    }
  }
}


void RegisterMenuHandlers(TKalibroForm35& form) {
  for (const TopMenuRow& top : MenuTree())
    for (const MenuItemRow& item : top.items) {
      if (item.handler == nullptr) continue;
      const MenuHandler handler = item.handler;
      form.commands().SetHandler(item.name, [&form, handler] { handler(form); });
    }
  // The shell's own item: it ends the program instead of talking to the device.
  form.commands().SetHandler("menuExit", [&form] { form.EndProgram(); });
}

void DisablePasswordCommands(TKalibroForm35& form) {
  for (const TopMenuRow& top : MenuTree()) {
    if (top.needsPassword) {
      // The menu itself, not only its actions: the menu bar, greyed and
      // enabled again around every exchange sequence, would enable the
      // actions again.
      QMenu* menu = form.MenuAction(top.name)->menu();
      menu->setEnabled(false);
      for (QAction* item : menu->actions()) item->setEnabled(false);
      continue;
    }
    for (const MenuItemRow& item : top.items)
      if (item.needsPassword) form.MenuAction(item.name)->setEnabled(false);
  }
}

}  // namespace korvena::kalibro
