#include "pass_i_form.h"

#include <QLabel>

#include "dialog_buttons.h"
#include "kalibro_texts.h"
#include "window_placement.h"

namespace korvena::kalibro {

TPassIForm::TPassIForm(UserInteraction& ui, QWidget* parent) : QDialog(parent) {
  setObjectName("PassIForm");
  setWindowTitle(Text(kPassIFormCaption));

  auto* label = new QLabel(Text(kPasswordLabel), this);
  label->setObjectName("Label1");
  label->setGeometry(16, 20, 40, 16);

  PasswdText = new TNumEdit(ui, this);
  PasswdText->setObjectName("PasswdText");
  PasswdText->setGeometry(64, 16, 121, 21);
  PasswdText->setMaxLength(kLongestPassword);
  PasswdText->setEchoMode(QLineEdit::Password);
  PasswdText->setStyleSheet("lineedit-password-character: 42");  // '*'
  label->setBuddy(PasswdText);

  AddOkCancelButtons(*this, 56);
  MakeFixedDialog(*this, 201, 92);
  CenterOnScreen(*this);
}

}  // namespace korvena::kalibro
