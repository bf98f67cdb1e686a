#include "forms/koniec_b.h"

#include <QLabel>
#include <iterator>

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {
namespace {

static_assert(std::size(kPaymentCaptions) == TKoniecB::kPayments);

constexpr int kRowHeight = 28;

}  // namespace

TKoniecB::TKoniecB(QWidget* parent) : QDialog(parent) {
  setObjectName("KoniecB");
  setWindowTitle(Text(kKoniecBCaption));
  for (int index = 0; index < kPayments; ++index) {
    const int top = 16 + index * kRowHeight;
    auto* label = new QLabel(Text(kPaymentCaptions[index]), this);
    label->setObjectName(QString("plat%1Text").arg(index + 1));
    label->setGeometry(16, top + 3, 128, 16);
    auto* edit = new QLineEdit("0.00", this);
    edit->setObjectName(QString("plat%1Edit").arg(index + 1));
    edit->setGeometry(152, top, 121, 21);
    edit->setMaxLength(kLongestAmount);
    label->setBuddy(edit);
    payments_.at(static_cast<std::size_t>(index)) = edit;
  }
  AddOkCancelButtons(*this, 16 + kPayments * kRowHeight + 8);
  MakeFixedDialog(*this, 289, 16 + kPayments * kRowHeight + 44);
  CenterOnScreen(*this);
}

}  // namespace korvena::kalibro
