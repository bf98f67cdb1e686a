#include "forms/load_mf.h"

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TLoadMF::TLoadMF(QWidget* parent) : QDialog(parent) {
  setObjectName("LoadMF");
  setWindowTitle(Text(kLoadMFCaption));

  QStringList printers;
  for (const char* caption : kEmblemPrinterCaptions) printers << Text(caption);
  LoadMFRadio = new TRadioGroup("LoadMFRadio", printers, 2, this);
  LoadMFRadio->setGeometry(8, 8, 289, 129);

  AddOkCancelButtons(*this, 145, 8);
  MakeFixedDialog(*this, 305, 178);
  if (parent != nullptr) CenterOn(*this, *parent);
}

}  // namespace korvena::kalibro
