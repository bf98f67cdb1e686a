#pragma once
// TLoadMF: the receipt printer type to load the fiscal emblem (logo) for.
#include <QDialog>

#include "widgets/radio_group.h"

namespace korvena::kalibro {

class TLoadMF : public QDialog {
  Q_OBJECT

 public:
  explicit TLoadMF(QWidget* parent = nullptr);

  TRadioGroup* LoadMFRadio;
};

}  // namespace korvena::kalibro
