#pragma once
// TKalibroForm35: Kalibro's main window. It holds the device session (on a
// line that keeps the window alive while it waits), the status display, the
// menu and the runner that keeps exchange sequences one at a time. Menu
// commands see it only as their CommandSession.
#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <string>
#include <string_view>

#include "shell/command_runner.h"
#include "commands/command_session.h"
#include "shell/connection_state.h"
#include "shell/exchange_guard.h"
#include "korvena/session/device_session.h"
#include "shell/responsive_line.h"
#include "shell/status_display.h"
#include "shell/user_interaction.h"

namespace korvena::kalibro {

class TKalibroForm35 : public QMainWindow, public CommandSession {
  Q_OBJECT

 public:
  // The system command that shows the About box.
  static constexpr int kAboutCommand = 100;
  static constexpr int kClientWidth = 661;
  static constexpr int kClientHeight = 434;

  // `configPath` is the "KvorWxx.ini" to read at start-up.
  TKalibroForm35(Port& port, Clock& clock, UserInteraction& ui, std::string configPath, QWidget* parent = nullptr);
  ~TKalibroForm35() override;

  // The start-up message: the connection sequence, password, version and
  // status display.
  void WMStartUp();
  // A system command; 100 shows the About box.
  void WMSysCommand(int command);

  // --- the session the menu commands get ---
  session::DeviceSession& device() override { return session_; }
  DeviceValues& values() override { return values_; }
  ConnectionState& state() override { return session_.state(); }
  UserInteraction& ui() override { return ui_; }
  std::string QueryInfo(int n) override { return session_.QueryInfo(n); }
  bool SendCommand(std::string_view frame) override { return session_.SendCommand(frame); }
  void SetValueLabel(const QString& name, const QString& text) override { status_.SetValueLabel(name, text); }
  bool GetValueLabel(const QString& name, QString& text) const override {
    return status_.GetValueLabel(name, text);
  }
  void RefreshTotals() override { status_.RefreshTotals(); }
  QWidget* dialogOwner() override { return this; }
  std::string Exchange(std::string_view frame, uint32_t limitMs) override { return session_.Exchange(frame, limitMs); }
  void Wait(uint32_t ms) override { session_.Wait(ms); }
  void SetLineSpeed(int32_t baud) override { session_.SetLineSpeed(baud); }
  int32_t FindDevice() override { return session_.FindDevice(); }
  session::DeviceSession& WorkerSession() override;
  void RunWorker(QThread& worker, const std::function<void()>& onTick,
                 std::atomic<bool>& stopRequested) override;

  // --- the status display ---
  void AddValueLabel(int top, int left, int width, const QString& caption, const QString& name) {
    status_.AddValueLabel(top, left, width, caption, name);
  }
  void BuildStatusDisplay() { status_.BuildStatusDisplay(this); }

  // --- the shell ---
  CommandRunner& commands() { return commands_; }
  bool exchangeRunning() const { return guard_.busy(); }
  // The menu item (or top item) with component name `name`.
  QAction* MenuAction(const QString& name) const;
  QWidget* ClientArea() const { return centralWidget(); }
  // Shows the window in front of the others (a second copy was started).
  void BringToFront();
  // Closes the window (and so the port and the program), also from inside
  // the running sequence.
  void EndProgram();

 protected:
  // FormClose: closes the port on every way of closing the window. A close
  // asked for while an exchange sequence runs ends that sequence at its next
  // step; the window closes right after.
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void BuildPictureArea();
  void ConnectMenuCommands();
  void BusyChanged(bool busy);

  // The connection sequence, one step each (connection_sequence.cpp).
  void RunConnectionSequence();
  bool ChoosePort(int32_t configuredCom);
  bool Connect();
  bool AskPassword(std::string& password);
  bool Login(const std::string& password);
  void DisableSettingsMenus();

  Port& port_;
  Clock& clock_;
  UserInteraction& ui_;
  std::string configPath_;
  ResponsiveLine line_;
  session::DeviceSession session_;        // on the responsive line
  session::DeviceSession workerSession_;  // on the plain port and clock
  ExchangeGuard guard_;
  CommandRunner commands_;
  QWidget* clientArea_;  // the labels' parent, below the menu bar
  DeviceValues values_;
  StatusDisplay status_;
  bool ending_ = false;
  bool closePending_ = false;
  std::atomic<bool>* workerStop_ = nullptr;  // the running bulk read's stop flag
};

}  // namespace korvena::kalibro
