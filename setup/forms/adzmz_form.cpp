#include "forms/adzmz_form.h"

#include <QFrame>

#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"
#include "forms/write_confirmation.h"

namespace korvena::kalibro {
namespace {

constexpr int kTickMs = 1000;
constexpr int kLowestYear = 1996;
constexpr int kHighestYear = 2099;
constexpr int kNumberWidth = 41;
constexpr int kYearWidth = 57;
constexpr int kFieldHeight = 21;
constexpr int kSeparatorWidth = 6;

QLabel* AddLabel(QWidget& parent, const char* name, const QString& text, int left, int top, int width = 233) {
  auto* label = new QLabel(text, &parent);
  label->setObjectName(name);
  label->setGeometry(left, top, width, 16);
  return label;
}

QSpinBox* AddSpin(QWidget& parent, const char* name, int lowest, int highest, int value, int left, int top,
                  int width = kNumberWidth) {
  auto* spin = new QSpinBox(&parent);
  spin->setObjectName(name);
  spin->setRange(lowest, highest);
  spin->setValue(value);
  spin->setGeometry(left, top, width, kFieldHeight);
  return spin;
}

QFrame* AddFrame(QWidget& parent, const char* name, int top, int height) {
  auto* frame = new QFrame(&parent);
  frame->setObjectName(name);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setGeometry(8, top, 249, height);
  return frame;
}

}  // namespace

TAdzmzForm::TAdzmzForm(QWidget* parent) : QDialog(parent) {
  setObjectName("AdzmzForm");
  setWindowTitle(Text(kAdzmzFormCaption));

  QFrame* module = AddFrame(*this, "ModuleFrame", 8, 52);
  TimeLabel = AddLabel(*module, "TimeLabel", Text(kModuleTimeLabel), 8, 8);
  MZtxtLabel = AddLabel(*module, "MZtxtLabel", {}, 8, 28);

  const LocalDateTime now = pcClock();
  QFrame* setting = AddFrame(*this, "SettingFrame", 68, 96);
  DZtxtLabel = AddLabel(*setting, "DZtxtLabel", Text(kAdzmzFormCaption), 8, 8);
  constexpr int kDateTop = 32;
  constexpr int kTimeTop = 62;
  constexpr int kFirstField = 56;
  constexpr int kSecondField = kFirstField + kNumberWidth + kSeparatorWidth;
  constexpr int kThirdField = kSecondField + kNumberWidth + kSeparatorWidth;
  AddLabel(*setting, "DateLabel", Text(kDateRowLabel), 8, kDateTop + 3, 45);
  DaySpin = AddSpin(*setting, "DaySpin", 1, 31, now.date.day, kFirstField, kDateTop);
  AddLabel(*setting, "DateSeparator1", ".", kSecondField - kSeparatorWidth, kDateTop + 3, kSeparatorWidth);
  MonthSpin = AddSpin(*setting, "MonthSpin", 1, 12, now.date.month, kSecondField, kDateTop);
  AddLabel(*setting, "DateSeparator2", ".", kThirdField - kSeparatorWidth, kDateTop + 3, kSeparatorWidth);
  YearSpin = AddSpin(*setting, "YearSpin", kLowestYear, kHighestYear, now.date.year, kThirdField, kDateTop, kYearWidth);

  AddLabel(*setting, "TimeRowLabel", Text(kTimeRowLabel), 8, kTimeTop + 3, 45);
  HourSpin = AddSpin(*setting, "HourSpin", 0, 23, now.hour, kFirstField, kTimeTop);
  AddLabel(*setting, "TimeSeparator1", ":", kSecondField - kSeparatorWidth, kTimeTop + 3, kSeparatorWidth);
  MinuteSpin = AddSpin(*setting, "MinuteSpin", 0, 59, now.minute, kSecondField, kTimeTop);
  secondSeparator_ =
      AddLabel(*setting, "TimeSeparator2", ":", kThirdField - kSeparatorWidth, kTimeTop + 3, kSeparatorWidth);
  // The seconds always start at 0, whatever the PC's clock says.
  SecondSpin = AddSpin(*setting, "SecondSpin", 0, 59, 0, kThirdField, kTimeTop);
  secondSeparator_->hide();
  SecondSpin->hide();

  constexpr int kButtonsTop = 176;
  WriteButton = new QPushButton(Text(kWriteButton), this);
  WriteButton->setObjectName("WriteButton");
  WriteButton->setGeometry(8, kButtonsTop, 75, 25);
  connect(WriteButton, &QPushButton::clicked, this, [this] { done(kWriteResult); });
  CancelButton = new QPushButton(Text(kCancelButton), this);
  CancelButton->setObjectName("CancelButton");
  CancelButton->setGeometry(182, kButtonsTop, 75, 25);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  connect(Timer1, &QTimer::timeout, this, &TAdzmzForm::Timer1Timer);
  Timer1->start(kTickMs);

  MakeFixedDialog(*this, 265, kButtonsTop + 33);
  CenterOnScreen(*this);
}

void TAdzmzForm::ShowSeconds() {
  secondSeparator_->show();
  SecondSpin->show();
}

void TAdzmzForm::done(int result) {
  Timer1->stop();
  QDialog::done(result);
}

void TAdzmzForm::Timer1Timer() {
  if (!clockReader_) return;
  if (const std::optional<QString> clock = clockReader_()) {
    MZtxtLabel->setText(*clock);
    return;
  }
  reject();
}

LocalDateTime TAdzmzForm::Fields() const {
  return {{YearSpin->value(), MonthSpin->value(), DaySpin->value()},
          HourSpin->value(),
          MinuteSpin->value(),
          SecondSpin->value()};
}

}  // namespace korvena::kalibro
