#pragma once
// TPassIForm: the start-up password dialog. The password is at most eleven
// digits, shown as stars; it may be left empty.
#include <QDialog>

#include "widgets/num_edit.h"

namespace korvena::kalibro {

class TPassIForm : public QDialog {
  Q_OBJECT

 public:
  TPassIForm(UserInteraction& ui, QWidget* parent = nullptr);

  QString Password() const { return PasswdText->text(); }

  TNumEdit* PasswdText;
};

}  // namespace korvena::kalibro
