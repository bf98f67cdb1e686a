#include "menu_tree.h"

#include <QMenu>

#include "kalibro_texts.h"

namespace korvena::kalibro {

const std::vector<TopMenuRow>& MenuTree() {
  static const std::vector<TopMenuRow> tree = {
      {"menuSet",
       "&Nastavenie",
       {
           {"popupFile", "Uložiť texty do súboru ..."},
           {"popupHead", "Hlavička dokladu..."},
           {"popupTail", "Päta dokladu..."},
           {"popupDICDKP", "DIČ, DKP a IČ DPH..."},
           {"popupLoadMF", "Nahrať znak MF..."},
           {nullptr, nullptr},
           {"popupRepair", "Uvedenie do prevádzky..."},
           {nullptr, nullptr},
           {"popupRegister", "Register modulu..."},
           {nullptr, nullptr},
           {"popupSetDDate", "Nastavenie dátumu automatickej uzávierky ..."},
           {"popupkDPH", "Nastavenie koeficientov DPH..."},
           {"popupZtyp", "Nastavenie koeficientov zaokrúhľovania ..."},
           {"popupKurzMena", "Nastavenie kurzu a symbolu meny ..."},
           {"popupBaudRate", "Komunikačné rýchlosti..."},
           {nullptr, nullptr},
           {"popupNGT", "Nulovanie Prevádzkovej pamäte..."},
           {nullptr, nullptr},
           {"popupTime", "Čas v module..."},
           {nullptr, nullptr},
           {"popupPasswd", "Zmena hesla..."},
       }},
      {"menuHTX", "&HTX", {{"popupSendrix", "Nahrať HTX do tlačiarne ..."}}},
      {"menuFP",
       "Fiškálna &pamäť",
       {
           {"popupFP", "Načítať fiškálnu pamäť..."},
           {"popupPairFP", "Spárovať starú Fiškánu Pamäť s modulom ..."},
       }},
      {"menuSD", "&SD karta", {{"popupSD", "Načítať deň z SD karty ..."}}},
      {"menuBlok",
       "&Funkcie FT",
       {
           {"menuVklad", "Vklad ..."},
           {"menuVyber", "Výber ..."},
           {nullptr, nullptr},
           {"menuStartBlok", "Štart bločku ..."},
           {"menuRiadokBlok", "Riadok bločku ..."},
           {"menuKoniecBlok", "Koniec bločku ..."},
           {nullptr, nullptr},
           {"popupStartFA", "Štart faktúry ..."},
           {"popupEndFA", "Koniec faktúry ..."},
           {nullptr, nullptr},
           {"menuDX", "Denná priebežná uzávierka (DX) ..."},
           {"menuDZ", "Denná definitívna uzávierka (DZ) ..."},
           {nullptr, nullptr},
           {"menuMX", "Intervalová uzávierka podľa čísel uzávierok ..."},
           {"menuMZ", "Intervalová uzávierka podľa dátumov uzávierok ..."},
           {nullptr, nullptr},
           {"popupUserCMD", "Užívateľský príkaz ..."},
       }},
      {"menuExit", "&Koniec", {}},
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

}  // namespace korvena::kalibro
