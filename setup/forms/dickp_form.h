#pragma once
// TDickpForm: the owner's tax identity as the device prints it (DIČ, DKP,
// IČ DPH, IČO). "&Načítať" fills the edits from a texts file; "&Zapísať",
// usable only while chWrite is ticked, closes it with kWriteResult.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <array>

#include "shell/user_interaction.h"
#include "forms/write_confirmation.h"

namespace korvena::kalibro {

class TDickpForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kValues = 4;

  TDickpForm(UserInteraction& ui, QWidget* parent = nullptr);

  // The edit of value `index`: 0 DIČ, 1 DKP, 2 IČ DPH, 3 IČO.
  QLineEdit* Edit(int index) const { return edits_.at(static_cast<std::size_t>(index)); }

  QLineEdit* Txt1Text;
  QLineEdit* Txt2Text;
  QLineEdit* Txt3Text;
  QLineEdit* Txt4Text;
  QCheckBox* chWrite;
  QPushButton* ReadButton;
  QPushButton* CancelButton;
  QPushButton* WriteButton;

 private:
  void ReadButtonClick();

  UserInteraction& ui_;
  std::array<QLineEdit*, kValues> edits_{};
};

}  // namespace korvena::kalibro
