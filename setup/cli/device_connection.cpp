#include "device_connection.h"

#include "cli_failure.h"
#include "korvena/operations/device_integer.h"
#include "korvena/protocol/info_catalogue.h"

namespace korvena::cli {

DeviceConnection::DeviceConnection(const ConnectionSettings& settings) : session_(port_, clock_) {
  const std::string where = "COM" + std::to_string(settings.com);
  if (!port_.bound()) throw CliFailure(kExitNoDevice, "cannot-open", where + ": " + port_.problem());
  session::ConnectionState& state = session_.state();
  state.PortNumber = static_cast<uint8_t>(settings.com);
  state.PortBaud = settings.config.BaudRate;
  state.TimeoutUnit = settings.config.Timeout;
  if (!session_.Connect()) FailSession(session_.lastFailure(), where);  // the port is closed then
  // The features the service program offers depend on the version number.
  state.DeviceVersion = operations::ParseDeviceInteger(session_.QueryInfo(protocol::info::kVersionNumber)).value_or(0);
  if (settings.password && !session_.Login(*settings.password)) {
    session_.Close();
    FailSession(session_.lastFailure(), where);
  }
  opened_ = true;
}

DeviceConnection::~DeviceConnection() {
  if (opened_) session_.Close();
}

}  // namespace korvena::cli
