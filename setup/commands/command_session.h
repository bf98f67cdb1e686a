#pragma once
// What a menu command may use of the connection: the two exchanges, the
// status display's labels, the connection state and the technician. Nothing
// else: no command reaches the link or the port, so every exchange keeps the
// rules of QueryInfo and SendCommand (the UI's turn, the time limits, the
// status query after a refused command).
#include <QString>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "shell/connection_state.h"
#include "shell/device_values.h"
#include "korvena/session/device_session.h"
#include "shell/user_interaction.h"

namespace korvena::kalibro {

class CommandSession {
 public:
  virtual ~CommandSession() = default;

  // The device session every operation runs on; its exchanges keep the
  // window alive as QueryInfo and SendCommand do.
  virtual session::DeviceSession& device() = 0;

  // ESC ";IV;" n CR and its one-line answer; empty when nothing came in time.
  virtual std::string QueryInfo(int n) = 0;
  // Writes `frame` (ESC to CR) and waits for its answer. True when the
  // device answered exactly "0"; most commands show nothing either way and
  // read values back instead.
  virtual bool SendCommand(std::string_view frame) = 0;

  // Writes `frame` and reads one answer line within `limitMs`, nothing
  // else: no turn for the window first, no status query after a refusal.
  // For the exchanges that keep rules of their own (the template upload,
  // the clock's one-second timer).
  virtual std::string Exchange(std::string_view frame, uint32_t limitMs) = 0;

  // Waits `ms` milliseconds on the link's clock, e.g. for the device to
  // switch its line speed; the window keeps its turn meanwhile.
  virtual void Wait(uint32_t ms) = 0;

  // Switches the PC side of the line to `baud`; PortBaud follows.
  virtual void SetLineSpeed(int32_t baud) = 0;
  // Identifies the device at PortBaud, else searches the rates as the
  // start-up does and adopts the rate found as PortBaud. The rate in use;
  // 0 when the device answers at none.
  virtual int32_t FindDevice() = 0;

  // --- bulk reads on a worker thread ---
  // A session on the plain port under the responsive one, with the state
  // of this one, for a worker thread while RunWorker runs: it gives the
  // window no turn and may not be used by the UI thread meanwhile.
  virtual session::DeviceSession& WorkerSession() = 0;
  // Starts `worker` at the highest priority and keeps the window alive until
  // it has finished, calling `onTick` about every 50 ms (to move a progress
  // bar). When the window is closed meanwhile, `stopRequested` becomes true;
  // the worker should then end soon. No other command runs meanwhile.
  virtual void RunWorker(QThread& worker, const std::function<void()>& onTick,
                         std::atomic<bool>& stopRequested) = 0;

  // The device's values the window shows, by info number; the status
  // display's labels follow them.
  virtual DeviceValues& values() = 0;

  // The status display's labels, by component name.
  virtual void SetValueLabel(const QString& name, const QString& text) = 0;
  virtual bool GetValueLabel(const QString& name, QString& text) const = 0;
  virtual void RefreshTotals() = 0;

  virtual ConnectionState& state() = 0;
  virtual UserInteraction& ui() = 0;
  // The main window, which dialogs are centred on and owned by.
  virtual QWidget* dialogOwner() = 0;
};

}  // namespace korvena::kalibro
