#include "forms/about_box.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>

#include "shell/kalibro_texts.h"
#include "shell/program_picture.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {
namespace {

constexpr Qt::KeyboardModifiers kCreditModifiers = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

QFrame* AddLine(QWidget* parent, int top) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(8, top, 265, 2);
  return line;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle(Text(kAboutCaptionPrefix) + Text(kApplicationTitle));
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(298, 200);

  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setGeometry(8, 8, 281, 145);

  ProgramIcon = new QLabel(panel);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setGeometry(8, 8, 40, 40);
  ProgramIcon->setPixmap(ProgramIconPixmap(40));
  ProgramIcon->installEventFilter(this);

  ProductName = new QLabel(Text(kApplicationTitle), panel);
  ProductName->setObjectName("ProductName");
  ProductName->setGeometry(64, 16, 209, 16);

  AddLine(panel, 60);
  Comments = new QLabel(panel);
  Comments->setObjectName("Comments");
  Comments->setGeometry(8, 72, 265, 48);
  Comments->setWordWrap(true);
  AddLine(panel, 128);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName("OKButton");
  OKButton->setGeometry(111, 164, 75, 25);
  OKButton->setDefault(true);
  OKButton->installEventFilter(this);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  CenterOnScreen(*this);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == OKButton && event->type() == QEvent::KeyPress) {
    if ((static_cast<QKeyEvent*>(event)->modifiers() & ~Qt::KeypadModifier) == kCreditModifiers) armed_ = true;
  } else if (watched == OKButton && event->type() == QEvent::KeyRelease) {
    armed_ = false;
  } else if (watched == ProgramIcon && event->type() == QEvent::MouseButtonDblClick && armed_) {
    Comments->setText(Text(kAboutCredit));
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace korvena::kalibro
