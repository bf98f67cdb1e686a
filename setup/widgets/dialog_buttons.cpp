#include "widgets/dialog_buttons.h"

#include "shell/kalibro_texts.h"

namespace korvena::kalibro {
namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 19;

}  // namespace

OkCancelButtons AddOkCancelButtons(QDialog& dialog, int top, int left) {
  auto* ok = new QPushButton(Text(kOkButton), &dialog);
  ok->setObjectName("OkButton");
  ok->setGeometry(left, top, kButtonWidth, kButtonHeight);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);

  auto* cancel = new QPushButton(Text(kCancelButton), &dialog);
  cancel->setObjectName("CancelButton");
  cancel->setGeometry(left + kButtonWidth + kButtonGap, top, kButtonWidth, kButtonHeight);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  return {ok, cancel};
}

}  // namespace korvena::kalibro
