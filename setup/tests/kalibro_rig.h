#pragma once
// Kalibro's main window on the emulated device over the in-process port,
// with a virtual clock, a scripted technician and its own configuration file.
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "kalibro_form.h"
#include "korvena/emulator/emulated_port.h"
#include "scripted_user_interaction.h"

namespace korvena::kalibro {

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

// The info numbers the status display reads, in the order it reads them.
const std::vector<int>& StatusDisplayQueries();

}  // namespace korvena::kalibro
