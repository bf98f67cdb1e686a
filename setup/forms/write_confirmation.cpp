#include "forms/write_confirmation.h"

#include "shell/kalibro_texts.h"

namespace korvena::kalibro {

QCheckBox* AddWriteConfirmation(QDialog& dialog, QPushButton& writeButton, int left, int top, int width) {
  auto* chWrite = new QCheckBox(Text(kWriteConfirmation), &dialog);
  chWrite->setObjectName("chWrite");
  chWrite->setGeometry(left, top, width, 17);
  writeButton.setEnabled(false);
  QObject::connect(chWrite, &QCheckBox::toggled, &writeButton, &QPushButton::setEnabled);
  return chWrite;
}

}  // namespace korvena::kalibro
