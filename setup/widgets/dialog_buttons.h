#pragma once
// The "&OK" (default, accepts) and "&Zrušiť" (cancels) pair most dialogs end
// with, named OkButton and CancelButton.
#include <QDialog>
#include <QPushButton>

namespace korvena::kalibro {

struct OkCancelButtons {
  QPushButton* ok;
  QPushButton* cancel;
};

// Places the pair side by side, the OK button's top-left corner at (left, top).
OkCancelButtons AddOkCancelButtons(QDialog& dialog, int top, int left = 16);

}  // namespace korvena::kalibro
