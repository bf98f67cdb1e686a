#pragma once
// Window shapes and places the program's windows share.
#include <QDialog>
#include <QWidget>

namespace korvena::kalibro {

// A dialog of fixed client size with a title bar and a close box only.
void MakeFixedDialog(QDialog& dialog, int width, int height);

// Moves `window` so its frame is centred on the screen it is on.
void CenterOnScreen(QWidget& window);

// Moves `window` so it is centred over `owner`.
void CenterOn(QWidget& window, const QWidget& owner);

}  // namespace korvena::kalibro
