#include "forms/progress_form.h"

#include <QCloseEvent>

#include "shell/window_placement.h"

namespace korvena::kalibro {

TProgressForm::TProgressForm(QWidget* owner) : QDialog(owner) {
  setObjectName("ProgressForm");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(307, 70);

  PBar = new QProgressBar(this);
  PBar->setObjectName("PBar");
  PBar->setGeometry(8, 16, 289, 25);
  PBar->setRange(0, 100);
  PBar->setValue(0);
  PBar->setTextVisible(false);

  LBar = new QLabel(this);
  LBar->setObjectName("LBar");
  LBar->setGeometry(8, 48, 289, 16);

  if (owner != nullptr)
    CenterOn(*this, *owner);
  else
    CenterOnScreen(*this);
}

void TProgressForm::StepIt() { PBar->setValue(std::min(PBar->value() + step_, PBar->maximum())); }

void TProgressForm::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace korvena::kalibro
