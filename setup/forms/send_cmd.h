#pragma once
// TSendCMD: a command for the device typed in whole by the technician. The
// text can be hidden behind stars while it holds a password.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

namespace korvena::kalibro {

class TSendCMD : public QDialog {
  Q_OBJECT

 public:
  explicit TSendCMD(QWidget* parent = nullptr);

  QLineEdit* txtCMD;
  QCheckBox* chPas;
};

}  // namespace korvena::kalibro
