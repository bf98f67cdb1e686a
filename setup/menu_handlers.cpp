#include "menu_handlers.h"

#include <vector>

#include "bulk_reads.h"
#include "command_session.h"
#include "fiscal_identity_commands.h"
#include "header_footer.h"
#include "htx_upload.h"
#include "kalibro_form.h"
#include "passwords_rounding.h"

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
