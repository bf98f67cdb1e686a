#include "forms/com_form.h"

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TComForm::TComForm(QWidget* parent) : QDialog(parent) {
  setObjectName("ComForm");
  setWindowTitle(Text(kComFormCaption));

  QStringList ports;
  for (int i = 0; i < kPorts; ++i) ports << Text(kComItemFormat).arg(i + 1);
  // Com 1 to 5 on the left, 6 to 10 on the right.
  ComRadio = new TRadioGroup("ComRadio", ports, 2, this);
  ComRadio->setGeometry(8, 8, 185, 137);

  AddOkCancelButtons(*this, 156, 8);
  MakeFixedDialog(*this, 201, 190);
  CenterOnScreen(*this);
}

}  // namespace korvena::kalibro
