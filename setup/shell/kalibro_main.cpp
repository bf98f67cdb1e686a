// Kalibro: the service program of the Korvena fiscal printer.
#include <QApplication>
#include <QMetaObject>
#include <cstdio>

#include "korvena/operations/kalibro_config.h"
#include "shell/kalibro_form.h"
#include "shell/kalibro_texts.h"
#include "korvena/link/clock.h"
#include "korvena/link/korvport_port.h"
#include "shell/qt_user_interaction.h"
#include "shell/single_instance.h"

int main(int argc, char** argv) {
  using namespace korvena;
  using namespace korvena::kalibro;

  QApplication application(argc, argv);
  const QString title = Text(kApplicationTitle);
  SingleInstance instance(title);
  if (instance.ActivateRunningCopy()) return 0;

  KorvportPort port;
  if (!port.bound()) {
    std::fprintf(stderr, "kalibro: %s\n", port.problem().c_str());
    return 1;
  }
  SystemClock clock;
  QtUserInteraction ui;
  TKalibroForm35 form(port, clock, ui, ConfigFilePath());
  ui.SetOwner(&form);
  instance.Listen([&form] { form.BringToFront(); });

  form.show();
  // The connection runs as the first event of the loop, with the window
  // already on the screen.
  QMetaObject::invokeMethod(&form, &TKalibroForm35::WMStartUp, Qt::QueuedConnection);
  application.exec();
  return 0;
}
