#pragma once
// TCRCForm: the last warning before commissioning. The commissioning button
// is usable only while chWrite is ticked, and Enter cancels: putting the
// device into fiscal operation cannot be undone.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace korvena::kalibro {

class TCRCForm : public QDialog {
  Q_OBJECT

 public:
  explicit TCRCForm(QWidget* parent = nullptr);

  QLabel* TxtLabel;
  QCheckBox* chWrite;
  QPushButton* OkButton;
  QPushButton* CancelButton;
};

}  // namespace korvena::kalibro
