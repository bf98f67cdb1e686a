#include "forms/send_cmd.h"

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "widgets/password_row.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TSendCMD::TSendCMD(QWidget* parent) : QDialog(parent) {
  setObjectName("SendCMD");
  setWindowTitle(Text(kSendCMDCaption));

  txtCMD = new QLineEdit(this);
  txtCMD->setObjectName("txtCMD");
  txtCMD->setGeometry(8, 8, 321, 21);

  chPas = new QCheckBox(Text(kMaskCommandCaption), this);
  chPas->setObjectName("chPas");
  chPas->setGeometry(8, 37, 97, 17);
  connect(chPas, &QCheckBox::toggled, this, [this](bool masked) { MaskWithStars(*txtCMD, masked); });

  AddOkCancelButtons(*this, 62, 8);
  MakeFixedDialog(*this, 337, 95);
  if (parent != nullptr) CenterOn(*this, *parent);
}

}  // namespace korvena::kalibro
