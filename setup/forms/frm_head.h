#pragma once
// TfrmHead: the ten lines of the receipt header or of its footer. The lines
// come from the device (or from a texts file) and go back only through the
// write button, which stays locked until chWrite is ticked.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "shell/user_interaction.h"
#include "forms/write_confirmation.h"

namespace korvena::kalibro {

class TfrmHead : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLineCount = 10;
  static constexpr int kLongestLine = 40;

  explicit TfrmHead(UserInteraction& ui, QWidget* parent = nullptr);

  // Header mode: loading from a texts file takes HL1..HL10; otherwise the
  // footer's TL1..TL10.
  void SetHeaderMode(bool headerMode) { headerMode_ = headerMode; }

  // Line `index` (0..9).
  QString Line(int index) const { return lines_[index]->text(); }
  void SetLine(int index, const QString& text);

  QLabel* LabelPos;
  QCheckBox* chWrite;
  QPushButton* ReadButton;
  QPushButton* CancelButton;
  QPushButton* WriteButton;

 protected:
  // The caret position follows the focus and the keys, not the mouse.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ReadButtonClick();

  UserInteraction& ui_;
  std::array<QLineEdit*, kLineCount> lines_{};  // H1Edit..H10Edit
  bool headerMode_ = true;
};

}  // namespace korvena::kalibro
