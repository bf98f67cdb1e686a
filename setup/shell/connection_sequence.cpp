// The start-up: configuration, COM port, finding the device, the service
// password, the version number and the status display.
#include <QMenu>

#include "forms/com_form.h"
#include "korvena/operations/device_integer.h"
#include "korvena/operations/kalibro_config.h"
#include "shell/kalibro_form.h"
#include "shell/kalibro_texts.h"
#include "shell/menu_tree.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/line_rates.h"
#include "forms/pass_i_form.h"
#include "forms/progress_form.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

// The search for the device in a progress window: one step per attempt, one
// for the last open and one per rate of the baud search. Without a device it
// takes seconds to minutes; the technician sees it move.
class ConnectProgress final : public OpenObserver {
 public:
  static constexpr int kAttempts = 15;

  ConnectProgress(QWidget* owner, uint8_t port, int32_t baud) : window_(owner), port_(port) {
    window_.setWindowTitle(Text(kSearchingDevice));
    window_.PBar->setMaximum(kAttempts + 1 + static_cast<int>(protocol::kLineRates.size()));
    Show(baud);
    window_.show();
  }
  void SleptAfterFailedOpen(int) override { window_.StepIt(); }
  void IdentifyAttempted(int) override { window_.StepIt(); }
  void FinalOpen(bool, int32_t) override { window_.StepIt(); }
  void SearchingAt(int32_t baud) override {
    Show(baud);
    window_.StepIt();
  }

 private:
  void Show(int32_t baud) { window_.LBar->setText(QString("COM%1  %2 Bd").arg(port_).arg(baud)); }

  TProgressForm window_;
  uint8_t port_;
};

}  // namespace

void TKalibroForm35::WMStartUp() {
  commands_.RunExclusive([this] { RunConnectionSequence(); });
}

void TKalibroForm35::RunConnectionSequence() {
  const KalibroConfig config = ReadKalibroConfig(configPath_);
  ConnectionState& state = session_.state();
  state.PortBaud = config.BaudRate;
  state.TimeoutUnit = config.Timeout;
  if (!ChoosePort(config.Com)) return EndProgram();
  if (!Connect()) return EndProgram();

  std::string password;
  if (!AskPassword(password)) return EndProgram();
  if (password.empty())
    DisableSettingsMenus();
  else if (!Login(password))
    return EndProgram();
  state.LoginPassword = password;

  // Always info 1000: the number must not follow the configured time-out.
  state.DeviceVersion = operations::ToInteger(QueryInfo(protocol::info::kVersionNumber));
  BuildStatusDisplay();
}

bool TKalibroForm35::ChoosePort(int32_t configuredCom) {
  TComForm comForm(this);
  comForm.SetItemIndex(ComItemFor(configuredCom));
  if (ui_.ExecDialog(comForm) != QDialog::Accepted || comForm.ItemIndex() < 0) return false;
  session_.state().PortNumber = static_cast<uint8_t>(comForm.ItemIndex() + 1);
  return true;
}

bool TKalibroForm35::Connect() {
  const bool found = [this] {
    ConnectProgress progress(this, session_.state().PortNumber, session_.state().PortBaud);
    return session_.Connect(&progress);
  }();
  if (!found)
    ui_.ShowError(Text(session_.lastFailure().kind == session::SessionFailure::kCannotOpen ? kCannotOpenPort
                                                                                          : kDeviceNotFound));
  return found;
}

bool TKalibroForm35::AskPassword(std::string& password) {
  TPassIForm passForm(ui_, this);
  if (ui_.ExecDialog(passForm) != QDialog::Accepted) return false;
  password = ToWindows1250(passForm.Password());
  return true;
}

bool TKalibroForm35::Login(const std::string& password) {
  if (session_.Login(password)) return true;
  ui_.ShowError(
      Text(session_.lastFailure().kind == session::SessionFailure::kWrongPassword ? kWrongPassword : kDeviceNotFound));
  return false;
}

void TKalibroForm35::DisableSettingsMenus() { DisablePasswordCommands(*this); }

}  // namespace korvena::kalibro
