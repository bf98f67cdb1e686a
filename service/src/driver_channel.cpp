// The device channel over a port: the driver connects (its attempts and
// baud search, with the rate it found kept in its settings file for the
// next start) and fetches LDX data; a device session exchanges frames.
#include "korvena/driver/driver.h"
#include "korvena/driver/driver_config.h"
#include "korvena/platform/ini_profile.h"
#include "korvena/platform/tick_clock.h"
#include "korvena/platform/whole_files.h"
#include "korvena/protocol/frame.h"
#include "korvena/service/device_channel.h"
#include "korvena/session/device_session.h"
#include "frame_watch_port.h"

namespace korvena::service {
namespace {

class DriverChannel final : public DeviceChannel {
 public:
  DriverChannel(Port& port, Clock& clock, const DriverChannelSettings& settings)
      : watched_(port),
        clock_(clock),
        settings_(settings),
        driver_(watched_, clock, HostFor(settings)),
        session_(watched_, clock),
        baud_(LastFoundBaud(settings.settingsPath)) {
    watched_.watcher = [this](std::string_view frame) {
      if (onFrameWritten) onFrameWritten(frame);
    };
  }

  bool Connect() override {
    driver_.ExitLibProc();
    // The driver takes its port, Timeout and last rate from its settings file.
    const std::string settingsText = "[Setting]\r\nCom=" + std::to_string(settings_.port) +
                                     "\r\nTimeout=" + std::to_string(settings_.timeoutMs) +
                                     "\r\nBaudRate=" + std::to_string(baud_) + "\r\n";
    if (!WriteWholeFile(settings_.settingsPath, settingsText)) return false;
    if (driver_.StartLibProc() != driver::kStarted) return false;
    baud_ = driver_.settings().baud;
    session::ConnectionState& state = session_.state();
    state.PortNumber = static_cast<uint8_t>(settings_.port);
    state.PortBaud = baud_;
    state.TimeoutUnit = driver_.settings().timeoutMs;
    return true;
  }

  void Close() override { driver_.ExitLibProc(); }

  int32_t baud() const override { return baud_; }

  LineAnswer Exchange(std::string_view frame, uint32_t limitMs) override {
    const uint32_t start = clock_.Ticks();
    LineAnswer answer;
    answer.line = session_.Exchange(frame, limitMs);
    // An empty line before the limit is a bare CR; at the limit, silence.
    const uint32_t took = TicksSince(start, clock_.Ticks());
    answer.silent = answer.line.empty() && took >= limitMs;
    exchangeTimes.Record(took / 1000.0);
    return answer;
  }

  std::optional<std::string> QueryInfo(int n) override {
    LineAnswer answer = Exchange(protocol::InfoQueryFrame(n), session_.Limit(session::DeviceSession::kQueryInfoUnits));
    if (answer.silent) return std::nullopt;
    return std::move(answer.line);
  }

  session::DeviceSession* session() override { return &session_; }

  std::optional<std::string> FetchLdx() override {
    driver::CommandOutcome outcome = driver_.Execute("\x1b;GETLDX");
    if (outcome.result != driver::kOk) return std::nullopt;
    return std::move(outcome.ldx);
  }

 private:
  // The rate the driver wrote back at the last connection, kept across
  // restarts of the service; the driver's default before any.
  static int32_t LastFoundBaud(const std::string& settingsPath) {
    const std::string written = ReadProfileString(settingsPath, "Setting", "BaudRate", "");
    return driver::ParseBaudRate(written).value_or(kFirstBaud);
  }

  static driver::DriverHost HostFor(const DriverChannelSettings& settings) {
    driver::DriverHost host;
    host.iniPath = settings.settingsPath;
    host.today = CurrentLocalDate;
    return host;
  }

  FrameWatchPort watched_;
  Clock& clock_;
  DriverChannelSettings settings_;
  driver::Driver driver_;
  session::DeviceSession session_;
  static constexpr int32_t kFirstBaud = 9600;
  int32_t baud_;
};

}  // namespace

std::unique_ptr<DeviceChannel> MakeDriverChannel(Port& port, Clock& clock, const DriverChannelSettings& settings) {
  return std::make_unique<DriverChannel>(port, clock, settings);
}

}  // namespace korvena::service
