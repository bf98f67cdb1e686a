#pragma once
// TRiadokB: one receipt line: its kind (ModTyp), its VAT class (ModSDPH),
// the quantity (ksEdit), the unit price (jcEdit) and its text (textEdit).
// The numbers are checked by the command, not here.
#include <QDialog>
#include <QLineEdit>

#include "widgets/radio_group.h"

namespace korvena::kalibro {

class TRiadokB : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLineKinds = 6;
  static constexpr int kVatClasses = 9;
  static constexpr int kLongestNumber = 16;
  static constexpr int kLongestText = 40;

  explicit TRiadokB(QWidget* parent = nullptr);

  // 0 (Kladná položka) .. 5 (Vrátený tovar).
  int LineKind() const { return ModTyp->ItemIndex(); }
  // 0 (A) .. 8 (I).
  int VatClass() const { return ModSDPH->ItemIndex(); }

  TRadioGroup* ModTyp;
  TRadioGroup* ModSDPH;
  QLineEdit* ksEdit;
  QLineEdit* jcEdit;
  QLineEdit* textEdit;
};

}  // namespace korvena::kalibro
