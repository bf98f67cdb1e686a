#pragma once
// TPassCForm: the password change dialog, the old password and the new one,
// each at most eleven digits shown as stars; both start empty.
#include <QDialog>

#include "widgets/num_edit.h"

namespace korvena::kalibro {

class TPassCForm : public QDialog {
  Q_OBJECT

 public:
  TPassCForm(UserInteraction& ui, QWidget* parent = nullptr);

  QString OldPassword() const { return Txt1Text->text(); }
  QString NewPassword() const { return Txt2Text->text(); }

  TNumEdit* Txt1Text;
  TNumEdit* Txt2Text;
};

}  // namespace korvena::kalibro
