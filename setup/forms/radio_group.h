#pragma once
// A captioned group of radio items of which one is chosen, filled column by
// column. The items are named after the group: "<group>Item0", "<group>Item1"...
#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

namespace korvena::kalibro {

class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  RadioGroup(const QString& objectName, const QString& caption, const QStringList& items, int columns,
             QWidget* parent);

  // The chosen item; -1 when none is.
  int ItemIndex() const { return items_->checkedId(); }
  // Chooses item `index`; an index past the end chooses nothing.
  void SetItemIndex(int index);
  int Count() const { return static_cast<int>(items_->buttons().size()); }

 private:
  QButtonGroup* items_;
};

}  // namespace korvena::kalibro
