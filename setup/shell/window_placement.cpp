#include "shell/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace korvena::kalibro {

void MakeFixedDialog(QDialog& dialog, int width, int height) {
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                        Qt::MSWindowsFixedSizeDialogHint);
  dialog.setFixedSize(width, height);
}

void CenterOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame(QPoint(0, 0), window.size());
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

void CenterOn(QWidget& window, const QWidget& owner) {
  QRect frame(QPoint(0, 0), window.size());
  frame.moveCenter(owner.frameGeometry().center());
  window.move(frame.topLeft());
}

}  // namespace korvena::kalibro
