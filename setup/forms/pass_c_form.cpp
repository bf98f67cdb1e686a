#include "forms/pass_c_form.h"

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "widgets/password_row.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TPassCForm::TPassCForm(UserInteraction& ui, QWidget* parent) : QDialog(parent) {
  setObjectName("PassCForm");
  setWindowTitle(Text(kPassCFormCaption));
  Txt1Text = AddPasswordRow(ui, *this, "Txt1Label", Text(kOldPasswordLabel), "Txt1Text", 16);
  Txt2Text = AddPasswordRow(ui, *this, "Txt2Label", Text(kNewPasswordLabel), "Txt2Text", 48);
  AddOkCancelButtons(*this, 88);
  MakeFixedDialog(*this, 201, 124);
  CenterOnScreen(*this);
}

}  // namespace korvena::kalibro
