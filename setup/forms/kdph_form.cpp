#include "forms/kdph_form.h"

#include <QLabel>

#include "widgets/device_text_edit.h"
#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TKdphForm::TKdphForm(UserInteraction& ui, QWidget* parent) : QDialog(parent) {
  setObjectName("KdphForm");
  setWindowTitle(Text(kKdphFormCaption));

  for (int rate = 1; rate <= kRates; ++rate) {
    const int top = 16 + (rate - 1) * 28;
    auto* label = new QLabel(Text(kVatCoefficientLabel).arg(rate), this);
    label->setObjectName(QString("Txt%1Label").arg(rate));
    label->setGeometry(16, top + 3, 48, 16);
    auto* edit = new TNumEdit(ui, this);
    edit->setObjectName(QString("Txt%1Text").arg(rate));
    edit->setGeometry(72, top, 97, 21);
    LimitTyping(*edit, kLongestCoefficient);
    label->setBuddy(edit);
    edits_.at(static_cast<std::size_t>(rate - 1)) = edit;
  }

  AddOkCancelButtons(*this, 16 + kRates * 28 + 8, 8);
  MakeFixedDialog(*this, 185, 16 + kRates * 28 + 49);
  CenterOnScreen(*this);
}

}  // namespace korvena::kalibro
