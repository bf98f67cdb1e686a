#pragma once
// The "Zapísať údaje do fiškálnej tlačiarne." box that dialogs writing into
// the fiscal device carry: the button that writes is usable exactly while
// the box is ticked, so nothing is written by a slip of the Enter key.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace korvena::kalibro {

// What such a dialog closes with when its write button is pressed.
inline constexpr int kWriteResult = QDialogButtonBox::Yes;

// Adds the box `chWrite` at (left, top) and ties `writeButton` to it; the
// button starts disabled.
QCheckBox* AddWriteConfirmation(QDialog& dialog, QPushButton& writeButton, int left, int top, int width = 260);

}  // namespace korvena::kalibro
