#include "forms/crc_form.h"

#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"
#include "forms/write_confirmation.h"

namespace korvena::kalibro {

TCRCForm::TCRCForm(QWidget* parent) : QDialog(parent) {
  setObjectName("CRCForm");
  setWindowTitle(Text(kCRCFormCaption));

  TxtLabel = new QLabel(Text(kCommissioningWarning), this);
  TxtLabel->setObjectName("TxtLabel");
  TxtLabel->setGeometry(16, 12, 321, 84);
  TxtLabel->setWordWrap(true);

  OkButton = new QPushButton(Text(kCommissionButton), this);
  OkButton->setObjectName("OkButton");
  OkButton->setGeometry(16, 136, 145, 25);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);

  CancelButton = new QPushButton(Text(kCancelButton), this);
  CancelButton->setObjectName("CancelButton");
  CancelButton->setGeometry(262, 136, 75, 25);
  CancelButton->setDefault(true);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

  chWrite = AddWriteConfirmation(*this, *OkButton, 16, 104);

  MakeFixedDialog(*this, 353, 177);
  CenterOnScreen(*this);
}

}  // namespace korvena::kalibro
