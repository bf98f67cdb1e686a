#include "forms/dickp_form.h"

#include <QFile>
#include <QLabel>

#include "widgets/device_text_edit.h"
#include "shell/file_error.h"
#include "shell/kalibro_texts.h"
#include "commands/texts_file.h"
#include "shell/window_placement.h"
#include "shell/windows1250.h"
#include "forms/write_confirmation.h"

namespace korvena::kalibro {
namespace {

// One row of the dialog: its caption, the longest value the device holds and
// the value's name in a texts file.
struct IdentityRow {
  const char* caption;
  int longest;
  const char* textsFileName;
};

constexpr IdentityRow kRows[TDickpForm::kValues] = {
    {kDicLabel, 16, "DIC"},
    {kDkpLabel, 17, "DKP"},
    {kIcDphLabel, 16, "ICDPH"},
    {kIcoLabel, 16, "ICO"},
};

constexpr int kRowHeight = 28;

QPushButton* AddButton(QDialog& dialog, const char* name, const char* caption, int left, int top) {
  auto* button = new QPushButton(Text(caption), &dialog);
  button->setObjectName(name);
  button->setGeometry(left, top, 75, 25);
  // The dialog has no default button: Enter in an edit must not read a file or write.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TDickpForm::TDickpForm(UserInteraction& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
  setObjectName("DickpForm");
  setWindowTitle(Text(kDickpFormCaption));

  for (int i = 0; i < kValues; ++i) {
    const IdentityRow& row = kRows[i];
    const int top = 16 + i * kRowHeight;
    auto* label = new QLabel(Text(row.caption), this);
    label->setObjectName(QString("Txt%1Label").arg(i + 1));
    label->setGeometry(16, top + 3, 56, 16);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString("Txt%1Text").arg(i + 1));
    edit->setGeometry(80, top, 184, 21);
    LimitTyping(*edit, row.longest);
    label->setBuddy(edit);
    edits_.at(static_cast<std::size_t>(i)) = edit;
  }
  Txt1Text = edits_[0];
  Txt2Text = edits_[1];
  Txt3Text = edits_[2];
  Txt4Text = edits_[3];

  const int buttonsTop = 16 + kValues * kRowHeight + 32;
  ReadButton = AddButton(*this, "ReadButton", kReadButton, 16, buttonsTop);
  CancelButton = AddButton(*this, "CancelButton", kCancelButton, 101, buttonsTop);
  WriteButton = AddButton(*this, "WriteButton", kWriteButton, 186, buttonsTop);
  chWrite = AddWriteConfirmation(*this, *WriteButton, 16, buttonsTop - 28);
  connect(ReadButton, &QPushButton::clicked, this, [this] { ReadButtonClick(); });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(WriteButton, &QPushButton::clicked, this, [this] { done(kWriteResult); });

  MakeFixedDialog(*this, 280, buttonsTop + 41);
  CenterOnScreen(*this);
}

void TDickpForm::ReadButtonClick() {
  const QString path = AskTextsFileToRead(ui_);
  if (path.isEmpty()) return;
  try {
    const operations::TextsFile file = LoadTextsFile(QFile::encodeName(path).toStdString());
    for (int i = 0; i < kValues; ++i)
      ShowWhole(*edits_.at(static_cast<std::size_t>(i)), FromWindows1250(file.Value(kRows[i].textsFileName)));
  } catch (const FileError& error) {
    // No exception may leave a button's handler: it runs inside the dialog's
    // event loop. The box is the one the program shows for any file it cannot read.
    ui_.ShowError(error.message());
  }
}

}  // namespace korvena::kalibro
