#include "shell/kalibro_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QTimer>

#include "forms/about_box.h"
#include "shell/kalibro_texts.h"
#include "shell/menu_tree.h"
#include "shell/window_wait.h"
#include "shell/program_picture.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TKalibroForm35::TKalibroForm35(Port& port, Clock& clock, UserInteraction& ui, std::string configPath,
                               QWidget* parent)
    : QMainWindow(parent),
      port_(port),
      clock_(clock),
      ui_(ui),
      configPath_(std::move(configPath)),
      // The window's turn while it waits (window_wait.h): in the line's
      // waits and before each exchange.
      line_(port, clock, LetTheWindowLive),
      session_(line_.port(), line_.clock(), LetTheWindowLive),
      workerSession_(port, clock),
      commands_(guard_, ui),
      clientArea_(new QWidget(this)),
      status_(*clientArea_, session_, values_) {
  setObjectName("KalibroForm35");
  clientArea_->setObjectName("ClientArea");
  setCentralWidget(clientArea_);
  FormCreate();
}

TKalibroForm35::~TKalibroForm35() = default;

void TKalibroForm35::FormCreate() {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  QFont windowFont(QStringLiteral("Tahoma"));
  windowFont.setPixelSize(10);
  setFont(windowFont);

  // The About entry: the window system keeps its own system menu, so the
  // entry sits in the window's context menu.
  auto* about = new QAction(Text(kAboutCommandCaption), this);
  about->setObjectName("aboutCommand");
  connect(about, &QAction::triggered, this, [this] { WMSysCommand(kAboutCommand); });
  centralWidget()->addAction(about);
  centralWidget()->setContextMenuPolicy(Qt::ActionsContextMenu);

  BuildPictureArea();
  setWindowTitle(Text(kApplicationTitle));

  BuildMainMenu(*menuBar());
  RegisterMenuHandlers(*this);
  ConnectMenuCommands();
  guard_.onBusyChanged = [this](bool busy) { BusyChanged(busy); };

  centralWidget()->setFixedSize(kClientWidth, kClientHeight);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
  CenterOnScreen(*this);
}

void TKalibroForm35::BuildPictureArea() {
  auto* menuBevel = new QFrame(centralWidget());
  menuBevel->setObjectName("MenuBevel");
  menuBevel->setFrameShape(QFrame::HLine);
  menuBevel->setFrameShadow(QFrame::Sunken);
  menuBevel->setGeometry(0, 0, kClientWidth, 2);

  auto* pictureBevel = new QFrame(centralWidget());
  pictureBevel->setObjectName("PictureBevel");
  pictureBevel->setFrameShape(QFrame::Box);
  pictureBevel->setFrameShadow(QFrame::Sunken);
  pictureBevel->setGeometry(14, 29, 112, 238);

  auto* image = new QLabel(centralWidget());
  image->setObjectName("Image");
  image->setGeometry(15, 30, 111, 251);
  image->setPixmap(ProgramPicture(111, 251));
}

void TKalibroForm35::ConnectMenuCommands() {
  for (QAction* action : menuBar()->findChildren<QAction*>()) {
    if (action->objectName().isEmpty() || action->menu() != nullptr) continue;
    const QString name = action->objectName();
    connect(action, &QAction::triggered, this, [this, name] { commands_.RunMenuCommand(name); });
  }
}

QAction* TKalibroForm35::MenuAction(const QString& name) const {
  return menuBar()->findChild<QAction*>(name);
}

void TKalibroForm35::BusyChanged(bool busy) {
  // No menu command can start while a sequence talks to the device, and no
  // context menu opens: between two exchanges it would hold the sequence.
  menuBar()->setEnabled(!busy);
  centralWidget()->setContextMenuPolicy(busy ? Qt::NoContextMenu : Qt::ActionsContextMenu);
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
  if (!busy && closePending_) QTimer::singleShot(0, this, &QWidget::close);
}

void TKalibroForm35::WMSysCommand(int command) {
  if (command != kAboutCommand) return;
  TAboutBox about(this);
  about.Comments->setText(Text(kAboutComments));
  ui_.ExecDialog(about);
}

void TKalibroForm35::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void TKalibroForm35::EndProgram() {
  ending_ = true;
  close();
}

void TKalibroForm35::closeEvent(QCloseEvent* event) {
  if (guard_.busy() && !ending_) {
    closePending_ = true;
    line_.Interrupt();
    if (workerStop_ != nullptr) *workerStop_ = true;
    event->ignore();
    return;
  }
  port_.Close();
  event->accept();
}

}  // namespace korvena::kalibro
