#pragma once
// TStartB: opening a receipt, in one of the five receipt modes MOD A to MOD E.
#include <QDialog>

#include "widgets/radio_group.h"

namespace korvena::kalibro {

class TStartB : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kModes = 5;

  explicit TStartB(QWidget* parent = nullptr);

  // 0 for MOD A .. 4 for MOD E.
  int Mode() const { return ModRadio->ItemIndex(); }

  TRadioGroup* ModRadio;
};

}  // namespace korvena::kalibro
