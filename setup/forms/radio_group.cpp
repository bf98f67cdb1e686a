#include "radio_group.h"

#include <QGridLayout>
#include <QRadioButton>

namespace korvena::kalibro {

RadioGroup::RadioGroup(const QString& objectName, const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(caption, parent), items_(new QButtonGroup(this)) {
  setObjectName(objectName);
  auto* grid = new QGridLayout(this);
  const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* item = new QRadioButton(items[i], this);
    item->setObjectName(QString("%1Item%2").arg(objectName).arg(i));
    items_->addButton(item, i);
    grid->addWidget(item, i % rows, i / rows);
  }
}

void RadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* item = items_->button(index)) item->setChecked(true);
}

}  // namespace korvena::kalibro
