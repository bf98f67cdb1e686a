// kalibro-snapshot: runs Kalibro's main window against a device on a COM
// port, answers the start-up dialogs (COM port, password) as a technician
// would, and saves a picture of the window with its status display.
//
//   kalibro-snapshot --com N [--password DIGITS] [--config FILE] [--dialogs DIR]
//                    [--open ITEM:DIALOG]... --out FILE.png
// With --dialogs, the two start-up dialogs are saved too, as DIR/<name>.png,
// and so is each dialog that a menu item named with --open brings up (it is
// then cancelled): --open popupHead:frmHead saves DIR/frmHead.png.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <cstdio>

#include "com_form.h"
#include "kalibro_config.h"
#include "kalibro_form.h"
#include "korvena/link/clock.h"
#include "korvena/link/korvport_port.h"
#include "scripted_user_interaction.h"

int main(int argc, char** argv) {
  using namespace korvena;
  using namespace korvena::kalibro;

  QApplication application(argc, argv);
  QCommandLineParser parser;
  parser.addOption({"com", "COM port to choose.", "N", "1"});
  parser.addOption({"password", "Service password to type.", "DIGITS", ""});
  parser.addOption({"config", "KvorWxx.ini to read.", "FILE"});
  parser.addOption({"out", "PNG file to write.", "FILE"});
  parser.addOption({"dialogs", "Folder for pictures of the start-up dialogs.", "DIR"});
  parser.addOption({"open", "Menu item to choose and the dialog it shows, saved to the dialogs folder.",
                    "ITEM:DIALOG"});
  parser.process(application);
  if (!parser.isSet("out")) {
    std::fputs("kalibro-snapshot: --out FILE.png is needed\n", stderr);
    return 2;
  }

  const QString dialogs = parser.value("dialogs");
  const auto savePicture = [dialogs](QDialog& dialog) {
    if (!dialogs.isEmpty()) dialog.grab().save(dialogs + "/" + dialog.objectName() + ".png", "PNG");
  };
  ScriptedUserInteraction ui;
  const int item = parser.value("com").toInt() - 1;
  ui.ExpectDialog("ComForm", QDialog::Accepted, [item, savePicture](QDialog& dialog) {
    static_cast<TComForm&>(dialog).SetItemIndex(item);
    savePicture(dialog);
  });
  const QString password = parser.value("password");
  ui.ExpectDialog("PassIForm", QDialog::Accepted, [password, savePicture](QDialog& dialog) {
    TypeInto(dialog, "PasswdText", password);
    savePicture(dialog);
  });

  KorvportPort port;
  SystemClock clock;
  const std::string config = parser.isSet("config") ? parser.value("config").toStdString() : ConfigFilePath();
  TKalibroForm35 form(port, clock, ui, config);
  form.show();
  form.WMStartUp();
  QApplication::processEvents();

  for (const QString& opened : parser.values("open")) {
    const QStringList itemAndDialog = opened.split(':');
    QAction* menuItem = form.MenuAction(itemAndDialog.value(0));
    if (itemAndDialog.size() != 2 || menuItem == nullptr) {
      std::fprintf(stderr, "kalibro-snapshot: no menu item for --open %s\n", qPrintable(opened));
      return 2;
    }
    ui.ExpectDialog(itemAndDialog[1], QDialog::Rejected, savePicture);
    menuItem->trigger();
  }

  for (const auto& message : ui.messages) std::fprintf(stderr, "kalibro-snapshot: %s\n", qPrintable(message.text));
  for (const auto& problem : ui.problems) std::fprintf(stderr, "kalibro-snapshot: %s\n", qPrintable(problem));
  if (!ui.messages.empty() || !ui.problems.empty() || !form.isVisible()) return 1;
  if (!form.grab().save(parser.value("out"), "PNG")) {
    std::fprintf(stderr, "kalibro-snapshot: cannot write %s\n", qPrintable(parser.value("out")));
    return 1;
  }
  form.EndProgram();
  return 0;
}
