#include "widgets/password_row.h"

#include <QLabel>

namespace korvena::kalibro {

void MaskWithStars(QLineEdit& edit, bool masked) {
  edit.setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
  edit.setStyleSheet("lineedit-password-character: 42");  // '*'
}

TNumEdit* AddPasswordRow(UserInteraction& ui, QWidget& dialog, const char* labelName, const QString& caption,
                         const char* editName, int top) {
  auto* label = new QLabel(caption, &dialog);
  label->setObjectName(labelName);
  label->setGeometry(16, top + 4, 40, 16);

  auto* edit = new TNumEdit(ui, &dialog);
  edit->setObjectName(editName);
  edit->setGeometry(64, top, 121, 21);
  edit->setMaxLength(kLongestPassword);
  MaskWithStars(*edit);
  label->setBuddy(edit);
  return edit;
}

}  // namespace korvena::kalibro
