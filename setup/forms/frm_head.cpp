#include "forms/frm_head.h"

#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>

#include "widgets/device_text_edit.h"
#include "shell/file_error.h"
#include "shell/kalibro_texts.h"
#include "commands/texts_file.h"
#include "shell/window_placement.h"
#include "shell/windows1250.h"
#include "forms/write_confirmation.h"

namespace korvena::kalibro {
namespace {

constexpr int kMargin = 8;
constexpr int kLineHeight = 21;
constexpr int kLineGap = 3;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

}  // namespace

TfrmHead::TfrmHead(UserInteraction& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
  setObjectName("frmHead");

  // Fixed pitch, so the technician sees how the lines line up on paper.
  QFont lineFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  lineFont.setPointSize(9);
  const int lineWidth = QFontMetrics(lineFont).horizontalAdvance(QString(kLongestLine, 'W')) + 12;
  int top = kMargin;
  for (int i = 0; i < kLineCount; ++i) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("H%1Edit").arg(i + 1));
    edit->setFont(lineFont);
    LimitTyping(*edit, kLongestLine);
    edit->setGeometry(kMargin, top, lineWidth, kLineHeight);
    edit->installEventFilter(this);
    lines_[i] = edit;
    top += kLineHeight + kLineGap;
  }
  const int width = lineWidth + 2 * kMargin;

  constexpr int kLabelPosWidth = 30;
  LabelPos = new QLabel(this);
  LabelPos->setObjectName("LabelPos");
  LabelPos->setGeometry(width - kMargin - kLabelPosWidth, top, kLabelPosWidth, 16);
  LabelPos->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  ReadButton = new QPushButton(Text(kReadButton), this);
  CancelButton = new QPushButton(Text(kCancelButton), this);
  WriteButton = new QPushButton(Text(kWriteButton), this);
  chWrite = AddWriteConfirmation(*this, *WriteButton, kMargin, top, width - 3 * kMargin - kLabelPosWidth);
  top += 16 + 2 * kMargin;

  const QString buttonNames[] = {"ReadButton", "CancelButton", "WriteButton"};
  QPushButton* const buttons[] = {ReadButton, CancelButton, WriteButton};
  for (int i = 0; i < 3; ++i) {
    buttons[i]->setObjectName(buttonNames[i]);
    const int left = i == 0 ? kMargin : width - kMargin - (3 - i) * kButtonWidth - (2 - i) * kMargin;
    buttons[i]->setGeometry(left, top, kButtonWidth, kButtonHeight);
    // Enter in a line presses nothing: no button may close the dialog or
    // open the file dialog by a slip of the key.
    buttons[i]->setAutoDefault(false);
    buttons[i]->installEventFilter(this);
  }
  chWrite->installEventFilter(this);
  // The buttons were made before the box (it needs the write button), so put
  // the box back in its place between the lines and the buttons.
  setTabOrder(lines_.back(), chWrite);
  setTabOrder(chWrite, ReadButton);
  setTabOrder(ReadButton, CancelButton);
  setTabOrder(CancelButton, WriteButton);

  connect(ReadButton, &QPushButton::clicked, this, &TfrmHead::ReadButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(WriteButton, &QPushButton::clicked, this, [this] { done(kWriteResult); });

  MakeFixedDialog(*this, width, top + kButtonHeight + kMargin);
  if (parent != nullptr) CenterOn(*this, *parent);
}

bool TfrmHead::eventFilter(QObject* watched, QEvent* event) {
  const bool entered = event->type() == QEvent::FocusIn;
  if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && (entered || event->type() == QEvent::KeyRelease)) {
    // The edit handles the event first (entered by Tab it selects its whole
    // text); the caret index shown is then where its selection starts.
    edit->event(event);
    LabelPos->setText(QString::number(edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition()));
    return true;  // delivered
  }
  if (entered) LabelPos->clear();
  return QDialog::eventFilter(watched, event);
}

void TfrmHead::SetLine(int index, const QString& text) { ShowWhole(*lines_[index], text); }

void TfrmHead::ReadButtonClick() {
  const QString path = AskTextsFileToRead(ui_);
  if (path.isEmpty()) return;
  // Shown here rather than by the command runner: an error must not leave
  // a button's handler, and the dialog stays open with its lines as they were.
  try {
    const operations::TextsFile file = LoadTextsFile(QFile::encodeName(path).toStdString());
    const QString prefix = headerMode_ ? "HL" : "TL";
    for (int i = 0; i < kLineCount; ++i)
      SetLine(i, FromWindows1250(file.Value((prefix + QString::number(i + 1)).toStdString())));
  } catch (const FileError& error) {
    ui_.ShowError(error.message());
  }
}

}  // namespace korvena::kalibro
