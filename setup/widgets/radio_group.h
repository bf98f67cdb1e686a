#pragma once
// TRadioGroup: a box of mutually exclusive choices, filled column by column,
// that reports the chosen item by its index. The items are named after the
// group, "<group>Item0" onwards.
#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

namespace korvena::kalibro {

class TRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGroup(const QString& name, const QStringList& items, int columns, QWidget* parent,
              const QString& caption = {});

  // The chosen item, 0 onwards; -1 when none is chosen.
  int ItemIndex() const { return items_->checkedId(); }
  // Chooses item `index`; an index past the end chooses nothing.
  void SetItemIndex(int index);
  int Count() const { return static_cast<int>(items_->buttons().size()); }

 private:
  QButtonGroup* items_;
};

}  // namespace korvena::kalibro
