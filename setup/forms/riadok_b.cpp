#include "forms/riadok_b.h"

#include <iterator>

#include "widgets/dialog_buttons.h"
#include "widgets/edit_under_label.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {
static_assert(std::size(kLineKindCaptions) == TRiadokB::kLineKinds);
static_assert(std::size(kVatClassCaptions) == TRiadokB::kVatClasses);

TRiadokB::TRiadokB(QWidget* parent) : QDialog(parent) {
  setObjectName("RiadokB");
  setWindowTitle(Text(kRiadokBCaption));

  ModTyp = new TRadioGroup("ModTyp", Texts(kLineKindCaptions), 1, this);
  ModTyp->setGeometry(8, 8, 170, 160);
  ModTyp->SetItemIndex(0);
  ModSDPH = new TRadioGroup("ModSDPH", Texts(kVatClassCaptions), 1, this);
  ModSDPH->setGeometry(186, 8, 190, 228);
  ModSDPH->SetItemIndex(0);

  ksEdit = AddEditUnderLabel(*this, Text(kQuantityLabel), "ksLabel", "ksEdit", 8, 172, 170);
  ksEdit->setMaxLength(kLongestNumber);
  ksEdit->setText("0.000");
  jcEdit = AddEditUnderLabel(*this, Text(kUnitPriceLabel), "jcLabel", "jcEdit", 8, 212, 170);
  jcEdit->setMaxLength(kLongestNumber);
  jcEdit->setText("0.000");
  textEdit = AddEditUnderLabel(*this, Text(kLineTextLabel), "textLabel", "textEdit", 8, 252, 368);
  textEdit->setMaxLength(kLongestText);

  AddOkCancelButtons(*this, 300, 8);
  MakeFixedDialog(*this, 384, 334);
  CenterOnScreen(*this);
}

}  // namespace korvena::kalibro
