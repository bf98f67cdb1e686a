#pragma once
// TComForm: the start-up choice of the COM port, ten ports in two columns.
#include <QDialog>

#include "widgets/radio_group.h"

namespace korvena::kalibro {

class TComForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPorts = 10;

  explicit TComForm(QWidget* parent = nullptr);

  // The chosen item, 0..9 (port = item + 1); -1 when none is selected.
  int ItemIndex() const { return ComRadio->ItemIndex(); }
  void SetItemIndex(int index) { ComRadio->SetItemIndex(index); }

  TRadioGroup* ComRadio;
};

}  // namespace korvena::kalibro
