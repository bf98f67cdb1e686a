#pragma once
// The device on its COM port, found as the service program finds it: the
// configured speed first, else the baud search; then its version number
// and, for the commands that carry it, the login with the service password.
// The port is closed again when the connection goes.
#include <cstdint>
#include <optional>
#include <string>

#include "korvena/link/clock.h"
#include "korvena/link/korvport_port.h"
#include "korvena/operations/kalibro_config.h"
#include "korvena/session/device_session.h"

namespace korvena::cli {

struct ConnectionSettings {
  int com = 1;
  kalibro::KalibroConfig config;        // BaudRate and Timeout
  std::optional<std::string> password;  // logs in when given
};

class DeviceConnection {
 public:
  // A failure naming the port (exit status 3, or 1 for a refused password).
  explicit DeviceConnection(const ConnectionSettings& settings);
  ~DeviceConnection();
  DeviceConnection(const DeviceConnection&) = delete;
  DeviceConnection& operator=(const DeviceConnection&) = delete;

  session::DeviceSession& session() { return session_; }

 private:
  KorvportPort port_;
  SystemClock clock_;
  session::DeviceSession session_;
  bool opened_ = false;
};

}  // namespace korvena::cli
