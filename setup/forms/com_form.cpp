#include "com_form.h"

#include <QGridLayout>
#include <QRadioButton>

#include "dialog_buttons.h"
#include "kalibro_texts.h"
#include "window_placement.h"

namespace korvena::kalibro {
namespace {

constexpr int kRowsPerColumn = 5;

}  // namespace

TComForm::TComForm(QWidget* parent) : QDialog(parent) {
  setObjectName("ComForm");
  setWindowTitle(Text(kComFormCaption));

  ComRadio = new QGroupBox(this);
  ComRadio->setObjectName("ComRadio");
  ComRadio->setGeometry(8, 8, 185, 137);
  auto* grid = new QGridLayout(ComRadio);
  items_ = new QButtonGroup(this);
  // Filled column by column: Com 1 to 5 on the left, 6 to 10 on the right.
  for (int i = 0; i < kPorts; ++i) {
    auto* item = new QRadioButton(Text(kComItemFormat).arg(i + 1), ComRadio);
    item->setObjectName(QString("ComRadioItem%1").arg(i));
    items_->addButton(item, i);
    grid->addWidget(item, i % kRowsPerColumn, i / kRowsPerColumn);
  }

  AddOkCancelButtons(*this, 156, 8);
  MakeFixedDialog(*this, 201, 190);
  CenterOnScreen(*this);
}

int TComForm::ItemIndex() const { return items_->checkedId(); }

void TComForm::SetItemIndex(int index) {
  if (QAbstractButton* item = items_->button(index)) item->setChecked(true);
}

}  // namespace korvena::kalibro
