#pragma once
// TSetBaudRate: the two line speeds of the device, side by side: the line
// to the PC and the device's internal one, each one of the seven rates.
#include <QDialog>

#include "widgets/radio_group.h"

namespace korvena::kalibro {

class TSetBaudRate : public QDialog {
  Q_OBJECT

 public:
  explicit TSetBaudRate(QWidget* parent = nullptr);

  TRadioGroup* PCRadio;
  TRadioGroup* PRNRadio;
};

}  // namespace korvena::kalibro
