#include "forms/start_b.h"

#include <iterator>

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

static_assert(std::size(kReceiptModeCaptions) == TStartB::kModes);

TStartB::TStartB(QWidget* parent) : QDialog(parent) {
  setObjectName("StartB");
  setWindowTitle(Text(kStartBCaption));

  ModRadio = new TRadioGroup("ModRadio", Texts(kReceiptModeCaptions), 1, this);
  ModRadio->setGeometry(8, 8, 185, 137);
  ModRadio->SetItemIndex(0);

  AddOkCancelButtons(*this, 156, 8);
  MakeFixedDialog(*this, 201, 190);
  CenterOnScreen(*this);
}

}  // namespace korvena::kalibro
