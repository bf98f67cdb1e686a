#pragma once
// TAdzmzForm: a date and a time to write into the device, for its clock and
// for the date of its automatic daily closing. The upper frame shows the
// device's value (its clock kept current by Timer1, once a second); the
// fields start at the PC's date and time.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>
#include <optional>

#include "korvena/platform/local_date.h"

namespace korvena::kalibro {

class TAdzmzForm : public QDialog {
  Q_OBJECT

 public:
  // The PC's local date and time the fields start from; tests put a fixed
  // one in its place.
  static inline LocalDateTime (*pcClock)() = CurrentLocalDateTime;

  explicit TAdzmzForm(QWidget* parent = nullptr);

  // What a tick of Timer1 puts into MZtxtLabel. nullopt means the device
  // can no longer be asked: the timer stops and the dialog closes.
  using ClockReader = std::function<std::optional<QString>()>;
  void SetClockReader(ClockReader reader) { clockReader_ = std::move(reader); }
  // For values that do not move on by themselves.
  void SwitchTimerOff() { Timer1->stop(); }
  void ShowSeconds();

  // One tick of Timer1; tests call it instead of waiting a second.
  void Timer1Timer();

  // The date and time the fields hold.
  LocalDateTime Fields() const;

  // Stops the timer too: the write that follows the dialog must be the only
  // exchange on the line, and the dialog lives on while it runs.
  void done(int result) override;

  QLabel* TimeLabel;
  QLabel* MZtxtLabel;
  QLabel* DZtxtLabel;
  QSpinBox* DaySpin;
  QSpinBox* MonthSpin;
  QSpinBox* YearSpin;
  QSpinBox* HourSpin;
  QSpinBox* MinuteSpin;
  QSpinBox* SecondSpin;
  QTimer* Timer1;
  QPushButton* WriteButton;
  QPushButton* CancelButton;

 private:
  QLabel* secondSeparator_;
  ClockReader clockReader_;
};

}  // namespace korvena::kalibro
