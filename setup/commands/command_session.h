#pragma once
// What a menu command may use of the connection: the two exchanges, the
// status display's labels, the connection state and the technician. Nothing
// else: no command reaches the link or the port, so every exchange keeps the
// rules of QueryInfo and SendCommand (the UI's turn, the time limits, the
// status query after a refused command).
#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

#include "connection_state.h"
#include "user_interaction.h"

namespace korvena::kalibro {

class CommandSession {
 public:
  virtual ~CommandSession() = default;

  // ESC ";IV;" n CR and its one-line answer; empty when nothing came in time.
  virtual std::string QueryInfo(int n) = 0;
  // Writes `frame` (ESC to CR) and waits for its answer. True when the
  // device answered exactly "0"; most commands show nothing either way and
  // read values back instead.
  virtual bool SendCommand(std::string_view frame) = 0;

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
