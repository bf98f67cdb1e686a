#include "kalibro_rig.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <algorithm>

#include "forms/com_form.h"

namespace korvena::kalibro {

KalibroRig::KalibroRig(emu::DeviceSettings settings)
    : device(std::move(settings)), configPath(directory.filePath("KvorWxx.ini").toStdString()) {}

KalibroRig::~KalibroRig() = default;

void KalibroRig::WriteConfig(const std::string& settingLines) {
  QFile file(QString::fromStdString(configPath));
  file.open(QIODevice::WriteOnly);
  file.write(("[Setting]\n" + settingLines + "\n").c_str());
}

void KalibroRig::ChooseComItem(int item) {
  ui.ExpectDialog("ComForm", QDialog::Accepted,
                  [item](QDialog& dialog) { static_cast<TComForm&>(dialog).SetItemIndex(item); });
}

void KalibroRig::TypePassword(const QString& password) {
  ui.ExpectDialog("PassIForm", QDialog::Accepted,
                  [password](QDialog& dialog) { TypeInto(dialog, "PasswdText", password); });
}

void KalibroRig::Start() {
  form = std::make_unique<TKalibroForm35>(port, clock, ui, configPath);
  form->show();
  form->WMStartUp();
}

void KalibroRig::StartAs(const QString& password) {
  ChooseComItem(0);
  TypePassword(password);
  Start();
}

Frames KalibroRig::Choose(const char* name) {
  const std::size_t before = device.received().size();
  form->MenuAction(name)->trigger();
  return FramesSince(before);
}

Frames KalibroRig::FramesSince(std::size_t from) const {
  Frames frames;
  const auto& received = device.received();
  for (std::size_t i = from; i < received.size(); ++i)
    frames.push_back(received[i].rfind("\x1b;", 0) == 0 ? received[i].substr(2) : received[i]);
  return frames;
}

QString KalibroRig::Label(const QString& name) const {
  const auto* label = form->ClientArea()->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
  return label ? label->text() : QStringLiteral("<none>");
}

int KalibroRig::ValueLabelCount() const {
  int count = 0;
  for (const QLabel* label : form->ClientArea()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    count += label->objectName().startsWith('v');
  return count;
}

std::vector<int> KalibroRig::InfoQueries(std::size_t from) const {
  std::vector<int> numbers;
  const auto& frames = device.received();
  for (std::size_t i = from; i < frames.size(); ++i)
    if (frames[i].rfind("\x1b;IV;", 0) == 0) numbers.push_back(std::stoi(frames[i].substr(5)));
  return numbers;
}

CurrentScratchFolder::CurrentScratchFolder() : previous_(QDir::currentPath()) {
  QDir::setCurrent(QString::fromStdString(path()));
}

CurrentScratchFolder::~CurrentScratchFolder() { QDir::setCurrent(previous_); }

ProgressWatch::ProgressWatch() { qApp->installEventFilter(this); }

ProgressWatch::~ProgressWatch() { qApp->removeEventFilter(this); }

int ProgressWatch::Highest(std::size_t index) const {
  const std::vector<int>& values = shown.at(index).values;
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

QString ProgressWatch::CurrentLine() const {
  return Showing() ? current_->LBar->text() : QStringLiteral("<none>");
}

bool ProgressWatch::eventFilter(QObject* watched, QEvent* event) {
  auto* progress = event->type() == QEvent::Show ? qobject_cast<TProgressForm*>(watched) : nullptr;
  if (progress != nullptr && progress != current_) {
    current_ = progress;
    shown.push_back({progress->windowTitle(), progress->PBar->maximum(), {}});
    const std::size_t index = shown.size() - 1;
    connect(progress->PBar, &QProgressBar::valueChanged, this,
            [this, index](int value) { shown[index].values.push_back(value); });
  }
  return QObject::eventFilter(watched, event);
}

const std::vector<int>& StatusDisplayQueries() {
  static const std::vector<int> numbers = {
      5,  2,  3,  4,  9,  1,  8,  7,  16, 17, 61, 62, 63, 64, 65, 10, 11, 12, 13, 20,
      21, 37, 36, 39, 38, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 33, 32, 35, 34, 117,
      116, 40, 41, 42, 43, 44, 45, 46, 47, 48, 52, 53, 54, 55, 56, 57, 49, 50, 51,
  };
  return numbers;
}

}  // namespace korvena::kalibro
