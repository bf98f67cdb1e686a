#pragma once
// TNumEdit: the one-line numeric edit of the password, VAT, cash and amount
// fields. Only the digits and Backspace can be typed; any other character is
// dropped with a beep. A non-empty text that is not a number 0..2147483647
// written in digits (a tenth digit past the limit, or something pasted, a
// sign included) brings up "InvalidInput" when it appears and again when the
// focus tries to leave, which it may not.
#include <QLineEdit>

#include "shell/user_interaction.h"

namespace korvena::kalibro {

class TNumEdit : public QLineEdit {
  Q_OBJECT

 public:
  TNumEdit(UserInteraction& ui, QWidget* parent = nullptr);

  // True when the text is empty or a valid number.
  bool HasValidText() const;

 signals:
  // A key was dropped (the beep).
  void keyRejected();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ComplainIfInvalid();

  UserInteraction& ui_;
  bool complaining_ = false;  // the error box itself takes the focus away
};

}  // namespace korvena::kalibro
