#pragma once
// Kalibro's main window on the emulated device over the in-process port,
// with a virtual clock, a scripted technician and its own configuration file.
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "shell/kalibro_form.h"
#include "korvena/emulator/emulated_port.h"
#include "korvena/platform/scratch_folder.h"
#include "forms/progress_form.h"
#include "scripted_user_interaction.h"

namespace korvena::kalibro {

// Command frames as the device received them, each without its ESC ";".
using Frames = std::vector<std::string>;

struct KalibroRig {
  explicit KalibroRig(emu::DeviceSettings settings = {});
  ~KalibroRig();

  // Lines for the "Setting" section of KvorWxx.ini, e.g. "Com=3\nTimeout=50".
  void WriteConfig(const std::string& settingLines);
  // The technician picks COM item `item` (0..9) and OK.
  void ChooseComItem(int item);
  // The technician types `password` and presses OK.
  void TypePassword(const QString& password);
  // Creates and shows the main window and runs its start-up.
  void Start();
  // The start-up as a technician goes through it: COM 1, then `password`.
  void StartAs(const QString& password);

  // Chooses menu item `name`; the frames it sent.
  Frames Choose(const char* name);
  // The frames received from index `from` of device.received() on.
  Frames FramesSince(std::size_t from) const;

  // The text of label `name`; "<none>" when there is no such label.
  QString Label(const QString& name) const;
  // How many value labels ("v...") the display holds.
  int ValueLabelCount() const;
  // The info numbers queried with IV, in order, from `from` on.
  std::vector<int> InfoQueries(std::size_t from = 0) const;

  emu::Device device;
  VirtualClock clock{0xFFFFF000u};  // wraps during the start-up
  emu::EmulatedPort port{device, clock};
  ScriptedUserInteraction ui;
  QTemporaryDir directory;
  std::string configPath;
  std::unique_ptr<TKalibroForm35> form;
};

// A fresh folder made the current directory while it lives (the bulk reads
// save their files there); the previous one comes back after.
class CurrentScratchFolder : public ScratchFolder {
 public:
  CurrentScratchFolder();
  ~CurrentScratchFolder();

 private:
  QString previous_;
};

// Every progress window shown while it lives: caption, bar maximum and each
// value the bar took.
class ProgressWatch : public QObject {
 public:
  struct Shown {
    QString caption;
    int maximum = 0;
    std::vector<int> values;
  };

  ProgressWatch();
  ~ProgressWatch() override;

  // The highest value the bar of window `index` took; 0 when it never moved.
  int Highest(std::size_t index = 0) const;
  // Whether a progress window is on screen now.
  bool Showing() const { return current_ && current_->isVisible(); }
  // The status line of the progress window on screen; "<none>" without one.
  QString CurrentLine() const;

  std::vector<Shown> shown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<TProgressForm> current_;
};

// The info numbers the status display reads, in the order it reads them.
const std::vector<int>& StatusDisplayQueries();

}  // namespace korvena::kalibro
