#pragma once
// TAboutBox: the program's name, a line about it, and a hidden credit. The
// credit shows after a key goes down on the OK button with exactly Shift,
// Ctrl and Alt held and the icon is then double-clicked before any key is
// released on the button.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace korvena::kalibro {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  bool armed() const { return armed_; }

  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Comments;
  QPushButton* OKButton;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool armed_ = false;
};

}  // namespace korvena::kalibro
