#include "forms/pass_i_form.h"

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "widgets/password_row.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TPassIForm::TPassIForm(UserInteraction& ui, QWidget* parent) : QDialog(parent) {
  setObjectName("PassIForm");
  setWindowTitle(Text(kPassIFormCaption));
  PasswdText = AddPasswordRow(ui, *this, "Label1", Text(kPasswordLabel), "PasswdText", 16);
  AddOkCancelButtons(*this, 56);
  MakeFixedDialog(*this, 201, 92);
  CenterOnScreen(*this);
}

}  // namespace korvena::kalibro
