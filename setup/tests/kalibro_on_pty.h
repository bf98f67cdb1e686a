#pragma once
// Kalibro's main window on the real port library against korvena-emu over a
// pseudo-terminal, started as a technician does: the COM port of the
// emulator, then the service password.
#include <memory>
#include <string>

#include "forms/com_form.h"
#include "shell/kalibro_form.h"
#include "korvena/link/korvport_port.h"
#include "scripted_user_interaction.h"

namespace korvena::kalibro {

struct KalibroOnPty {
  // Opens the window reading `config` and runs its start-up on COM `com`.
  void Start(int com, const std::string& config, const QString& password = "0") {
    ui.ExpectDialog("ComForm", QDialog::Accepted,
                    [com](QDialog& dialog) { static_cast<TComForm&>(dialog).SetItemIndex(com - 1); });
    ui.ExpectDialog("PassIForm", QDialog::Accepted,
                    [password](QDialog& dialog) { TypeInto(dialog, "PasswdText", password); });
    form = std::make_unique<TKalibroForm35>(port, clock, ui, config);
    form->show();
    form->WMStartUp();
  }

  KorvportPort port;
  SystemClock clock;
  ScriptedUserInteraction ui;
  std::unique_ptr<TKalibroForm35> form;
};

}  // namespace korvena::kalibro
