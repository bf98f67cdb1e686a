#include "forms/vv_form.h"

#include <QLabel>

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TVVform::TVVform(UserInteraction& ui, QWidget* owner) : QDialog(owner) {
  setObjectName("VVform");
  auto* label = new QLabel(Text(kCashAmountLabel), this);
  label->setObjectName("ValueLabel");
  label->setGeometry(16, 19, 40, 16);
  ValueText = new TNumEdit(ui, this);
  ValueText->setObjectName("ValueText");
  ValueText->setGeometry(64, 16, 121, 21);
  ValueText->setMaxLength(kLongestAmount);
  label->setBuddy(ValueText);
  AddOkCancelButtons(*this, 56);
  MakeFixedDialog(*this, 201, 92);
  if (owner != nullptr) CenterOn(*this, *owner);
}

}  // namespace korvena::kalibro
