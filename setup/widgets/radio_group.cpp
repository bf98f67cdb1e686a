#include "widgets/radio_group.h"

#include <QGridLayout>
#include <QRadioButton>

namespace korvena::kalibro {

TRadioGroup::TRadioGroup(const QString& name, const QStringList& items, int columns, QWidget* parent,
                         const QString& caption)
    : QGroupBox(caption, parent), items_(new QButtonGroup(this)) {
  setObjectName(name);
  auto* grid = new QGridLayout(this);
  const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* item = new QRadioButton(items[i], this);
    item->setObjectName(name + QString("Item%1").arg(i));
    items_->addButton(item, i);
    grid->addWidget(item, i % rows, i / rows);
  }
}

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* item = items_->button(index)) item->setChecked(true);
}

}  // namespace korvena::kalibro
