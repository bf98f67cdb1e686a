#include "menu_handlers.h"

#include <vector>

#include "bulk_reads.h"
#include "command_session.h"
#include "fiscal_identity_commands.h"
#include "header_footer.h"
#include "htx_upload.h"
#include "kalibro_form.h"
#include "passwords_rounding.h"
#include "receipts_invoices.h"
#include "reports_cash.h"
#include "service_commands.h"

namespace korvena::kalibro {
namespace {

using MenuHandler = void (*)(CommandSession&);

struct MenuCommand {
  const char* name;  // component name of the menu item
  MenuHandler handler;
};

const std::vector<MenuCommand>& MenuCommands() {
  static const std::vector<MenuCommand> commands = {
      {"popupPasswd", popupPasswdClick},
      {"popupKurzMena", popupKurzMenaClick},
      {"popupZtyp", popupZtypClick},
      {"popupHead", popupHeadClick},
      {"popupTail", popupTailClick},
      {"popupDICDKP", popupDICDKPClick},
      {"popupkDPH", popupkDPHClick},
      {"popupRegister", popupRegisterClick},
      {"popupRepair", popupRepairClick},
      {"menuStartBlok", menuStartBlokClick},
      {"menuRiadokBlok", menuRiadokBlokClick},
      {"menuKoniecBlok", menuKoniecBlokClick},
      {"popupStartFA", popupStartFAClick},
      {"popupEndFA", popupEndFAClick},
      {"menuDX", menuDXClick},
      {"menuDZ", menuDZClick},
      {"menuMX", menuMXClick},
      {"menuMZ", menuMZClick},
      {"menuVklad", menuVkladClick},
      {"menuVyber", menuVyberClick},
      {"popupFile", popupFileClick},
      {"popupTime", popupTimeClick},
      {"popupSetDDate", popupSetDDateClick},
      {"popupBaudRate", popupBaudRateClick},
      {"popupLoadMF", popupLoadMFClick},
      {"popupNGT", popupNGTClick},
      {"popupPairFP", popupPairFPClick},
      {"popupUserCMD", popupUserCMDClick},
      {"popupSendrix", popupSendrixClick},
      {"popupFP", popupFPClick},
      {"popupSD", popupSDClick},
  };
  return commands;
}

}  // namespace

void RegisterMenuHandlers(TKalibroForm35& form) {
  for (const MenuCommand& command : MenuCommands()) {
    const MenuHandler handler = command.handler;
    form.commands().SetHandler(command.name, [&form, handler] { handler(form); });
  }
  // The shell's own item: it ends the program instead of talking to the device.
  form.commands().SetHandler("menuExit", [&form] { form.EndProgram(); });
}

}  // namespace korvena::kalibro
