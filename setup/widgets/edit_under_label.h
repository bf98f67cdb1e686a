#pragma once
// A one-line edit with its caption right above it, as the sale dialogs lay
// out their fields.
#include <QLineEdit>
#include <QString>

namespace korvena::kalibro {

// Adds the caption `labelName` and, under it, the edit `editName` to
// `dialog`, both `width` wide, the caption's top-left corner at (left, top).
QLineEdit* AddEditUnderLabel(QWidget& dialog, const QString& caption, const char* labelName, const char* editName,
                             int left, int top, int width);

}  // namespace korvena::kalibro
