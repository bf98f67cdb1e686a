// kalibro-snapshot: runs Kalibro's main window against a device on a COM
// port, answers the start-up dialogs (COM port, password) as a technician
// would, and saves a picture of the window with its status display.
//
//   kalibro-snapshot --com N [--password DIGITS] [--config FILE] [--dialogs DIR]
//                    [--open ITEM:DIALOG]... [--progress ITEM]... --out FILE.png
// With --dialogs, the two start-up dialogs are saved too, as DIR/<name>.png,
// and so is each dialog that a menu item named with --open brings up (it is
// then cancelled): --open popupHead:frmHead saves DIR/frmHead.png. With
// --progress, the item runs and its progress window is saved four seconds
// in, as DIR/ProgressForm-<item>.png; then the window is closed.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QPainter>
#include <QTimer>
#include <cstdio>

#include "forms/com_form.h"
#include "korvena/operations/kalibro_config.h"
#include "shell/kalibro_form.h"
#include "korvena/link/clock.h"
#include "korvena/link/korvport_port.h"
#include "scripted_user_interaction.h"

namespace {

// The window's picture under a plain strip with its title: a grab shows only
// what is inside the frame, and a progress window says what it does there.
QPixmap WithTitleBar(QWidget& window) {
  const QPixmap inside = window.grab();
  const int strip = window.fontMetrics().height() + 8;
  QPixmap picture(inside.width(), inside.height() + strip);
  picture.fill(window.palette().color(QPalette::Window).darker(115));
  QPainter painter(&picture);
  painter.setFont(window.font());
  painter.drawText(QRect(6, 0, inside.width() - 12, strip), Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
  painter.drawPixmap(0, strip, inside);
  return picture;
}

}  // namespace

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
  parser.addOption({"progress", "Menu item whose progress window is saved to the dialogs folder.", "ITEM"});
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
  if (parser.values("progress").isEmpty()) {
    form.EndProgram();
    return 0;
  }
  // Last, as it ends the program: the window is closed while the command
  // runs, which stops it at once.
  const QStringList progressItems = parser.values("progress");
  if (progressItems.size() > 1) {
    std::fputs("kalibro-snapshot: --progress takes one item\n", stderr);
    return 2;
  }
  for (const QString& running : progressItems) {
    QAction* menuItem = form.MenuAction(running);
    if (menuItem == nullptr) {
      std::fprintf(stderr, "kalibro-snapshot: no menu item for --progress %s\n", qPrintable(running));
      return 2;
    }
    QTimer::singleShot(4000, &form, [&form, &dialogs, running] {
      for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "ProgressForm" && window->isVisible() && !dialogs.isEmpty())
          WithTitleBar(*window).save(dialogs + "/ProgressForm-" + running + ".png", "PNG");
      form.close();
    });
    menuItem->trigger();
  }
  return 0;
}
