// The start-up: configuration, COM port, finding the device, the service
// password, the version number and the status display.
#include <QMenu>

#include "com_form.h"
#include "device_integer.h"
#include "kalibro_config.h"
#include "kalibro_form.h"
#include "kalibro_texts.h"
#include "pass_i_form.h"
#include "progress_form.h"
#include "windows1250.h"

namespace korvena::kalibro {
namespace {

// Every reply the start-up waits for itself gets five time-out units.
constexpr int32_t kStartUpReplyUnits = 5;
// The status info 0 holds after a wrong password.
constexpr const char* kWrongPasswordStatus = "512";

// The search for the device in a progress window: one step per attempt, one
// for the last open and one per rate of the baud search. Without a device it
// takes seconds to minutes; the technician sees it move.
class ConnectProgress final : public OpenObserver {
 public:
  static constexpr int kAttempts = 15;

  ConnectProgress(QWidget* owner, uint8_t port, int32_t baud) : window_(owner), port_(port) {
    window_.setWindowTitle(Text(kSearchingDevice));
    window_.PBar->setMaximum(kAttempts + 1 + static_cast<int>(kBaudTable.size()));
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
  state_.PortBaud = config.BaudRate;
  state_.TimeoutUnit = config.Timeout;
  if (!ChoosePort(config.Com)) return EndProgram();
  if (!Connect()) return EndProgram();

  std::string password;
  if (!AskPassword(password)) return EndProgram();
  if (password.empty())
    DisableSettingsMenus();
  else if (!TestPassword(password))
    return EndProgram();
  state_.LoginPassword = password;

  // Always info 1000: the number must not follow the configured time-out.
  state_.DeviceVersion = ToInteger(QueryInfo(kVersionNumberInfo));
  BuildStatusDisplay();
}

bool TKalibroForm35::ChoosePort(int32_t configuredCom) {
  TComForm comForm(this);
  comForm.SetItemIndex(ComItemFor(configuredCom));
  if (ui_.ExecDialog(comForm) != QDialog::Accepted || comForm.ItemIndex() < 0) return false;
  state_.PortNumber = static_cast<uint8_t>(comForm.ItemIndex() + 1);
  return true;
}

bool TKalibroForm35::Connect() {
  const OpenOutcome outcome = [this] {
    ConnectProgress progress(this, state_.PortNumber, state_.PortBaud);
    return link_.OpenAndIdentify(state_.PortNumber, state_.PortBaud, static_cast<uint32_t>(state_.TimeoutUnit),
                                 &progress);
  }();
  switch (outcome.kind) {
    case OpenOutcome::kIdentifiedBySearch:
      state_.PortBaud = outcome.baud;
      return true;
    case OpenOutcome::kIdentified:
      return true;
    case OpenOutcome::kCannotOpen:
      ui_.ShowError(Text(kCannotOpenPort));
      return false;
    case OpenOutcome::kNotFound:
      ui_.ShowError(Text(kDeviceNotFound));
      return false;
  }
  return false;
}

bool TKalibroForm35::AskPassword(std::string& password) {
  TPassIForm passForm(ui_, this);
  if (ui_.ExecDialog(passForm) != QDialog::Accepted) return false;
  password = ToWindows1250(passForm.Password());
  return true;
}

bool TKalibroForm35::TestPassword(const std::string& password) {
  link_.SendText(std::string{kEsc} + ";TESTPASSWORD;" + password + kCr);
  link_.ReadResponse(exchange_.Limit(kStartUpReplyUnits));  // its content says nothing; info 0 does
  const std::string status = QueryInfo(0);
  if (status.empty()) {
    ui_.ShowError(Text(kDeviceNotFound));
    return false;
  }
  if (status == kWrongPasswordStatus) {
    ui_.ShowError(Text(kWrongPassword));
    return false;
  }
  return true;
}

void TKalibroForm35::DisableSettingsMenus() {
  // Without a password the settings commands would all be refused anyway.
  // The menu itself, not only its action: the menu bar, greyed and enabled
  // again around every exchange sequence, would enable the action again.
  QMenu* settings = MenuAction("menuSet")->menu();
  settings->setEnabled(false);
  for (QAction* item : settings->actions()) item->setEnabled(false);
  MenuAction("popupPairFP")->setEnabled(false);
}

}  // namespace korvena::kalibro
