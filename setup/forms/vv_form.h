#pragma once
// TVVform: the amount of a cash deposit or withdrawal, digits only. The
// command titles it "Vklad" or "Výber"; the sign goes into the command.
#include <QDialog>

#include "widgets/num_edit.h"

namespace korvena::kalibro {

class TVVform : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLongestAmount = 11;

  // Centred on `owner`, the main window.
  TVVform(UserInteraction& ui, QWidget* owner);

  TNumEdit* ValueText;
};

}  // namespace korvena::kalibro
