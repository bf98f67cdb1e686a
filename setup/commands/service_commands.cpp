#include "service_commands.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "adzmz_form.h"
#include "code_page_852.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/line_rates.h"
#include "device_integer.h"
#include "kalibro_texts.h"
#include "load_mf.h"
#include "responsive_line.h"
#include "send_cmd.h"
#include "set_baud_rate.h"
#include "texts_file.h"
#include "windows1250.h"
#include "write_confirmation.h"

namespace korvena::kalibro {
namespace {

namespace info = protocol::info;

// The clock's timer asks with a limit of its own, not the time-out unit.
constexpr uint32_t kClockLimitMs = 1000;
// Time for the device to switch its line speed after it has answered.
constexpr uint32_t kSpeedSwitchMs = 100;
// DeviceVersion from which the commissioned flag is cleared before pairing.
constexpr int32_t kLastVersionWithoutUnpairing = 13021;

// The argument LOADMF takes for each printer of the emblem dialog, in its order.
constexpr const char* kEmblemPrinterArguments[] = {"1", "3", "1", "4", "5", "1", "6", "1"};
static_assert(std::size(kEmblemPrinterArguments) == std::size(kEmblemPrinterCaptions));

std::string Number(int value) { return std::to_string(value); }

// Shows the device's value `info` above the fields.
void ShowDeviceValue(CommandSession& session, TAdzmzForm& dialog, int info) {
  dialog.MZtxtLabel->setText(FromWindows1250(session.QueryInfo(info)));
}

// Item `index` of a group, or its last item when the index is past it.
void ChooseItem(TRadioGroup& group, uint32_t index) {
  group.SetItemIndex(static_cast<int>(std::min<uint32_t>(index, static_cast<uint32_t>(group.Count() - 1))));
}

}  // namespace

void popupFileClick(CommandSession& session) {
  const QString path = AskTextsFileToWrite(session.ui());
  if (path.isEmpty()) return;
  TextsFile::Lines lines;
  // The header and footer lines come in the device's code page, the
  // identity values as they are.
  for (const protocol::InfoNumber& entry : protocol::TextsFileInfos()) {
    const std::string value = session.QueryInfo(entry.number);
    lines.emplace_back(entry.textsKey, entry.form == protocol::InfoForm::kText852 ? DeviceToPc(value) : value);
  }
  TextsFile::Save(QFile::encodeName(path).toStdString(), lines);
}

void popupTimeClick(CommandSession& session) {
  TAdzmzForm dialog(session.dialogOwner());
  ShowDeviceValue(session, dialog, info::kClock);
  const std::string clockQuery = protocol::InfoQueryFrame(info::kClock);
  dialog.SetClockReader([&session, clockQuery]() -> std::optional<QString> {
    // A tick runs in the dialog's event loop, where no error may escape:
    // a window closed meanwhile just ends the dialog.
    try {
      return FromWindows1250(session.Exchange(clockQuery, kClockLimitMs));
    } catch (const SequenceInterrupted&) {
      return std::nullopt;
    }
  });
  if (session.ui().ExecDialog(dialog) != kWriteResult) return;

  const LocalDateTime time = dialog.Fields();
  session.SendCommand(protocol::CommandFrame("STDATETIME", {session.state().LoginPassword, Number(time.hour),
                                                  Number(time.minute), "0", Number(time.date.day),
                                                  Number(time.date.month), Number(time.date.year)}));
}

void popupSetDDateClick(CommandSession& session) {
  TAdzmzForm dialog(session.dialogOwner());
  dialog.SwitchTimerOff();
  dialog.ShowSeconds();
  dialog.TimeLabel->setText(Text(kAutomaticClosingLabel));
  ShowDeviceValue(session, dialog, info::kAutomaticClosing);
  if (session.ui().ExecDialog(dialog) != kWriteResult) return;

  const LocalDateTime time = dialog.Fields();
  session.SendCommand(protocol::CommandFrame("STDDATE", {session.state().LoginPassword, Number(time.hour), Number(time.minute),
                                               Number(time.second), Number(time.date.day), Number(time.date.month),
                                               Number(time.date.year)}));
  session.SetValueLabel("vDDate", FromWindows1250(session.QueryInfo(info::kAutomaticClosing)));
}

void popupBaudRateClick(CommandSession& session) {
  // The low byte: the PC line's index in its high half, the internal one's
  // in its low three bits.
  const uint32_t code = static_cast<uint32_t>(ToInteger(session.QueryInfo(info::kLineSpeeds))) & 0xFF;
  TSetBaudRate dialog(session.dialogOwner());
  ChooseItem(*dialog.PCRadio, code / 16);
  ChooseItem(*dialog.PRNRadio, code & 7);
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  const int pc = dialog.PCRadio->ItemIndex();
  const int internal = dialog.PRNRadio->ItemIndex();
  session.SendCommand(protocol::CommandFrame("STBRATE", {session.state().LoginPassword, Number(pc), Number(internal)}));
  session.Wait(kSpeedSwitchMs);

  // The PC follows only as far as the device did: if the device kept its
  // speed (it refused, or missed the command), the link would be lost.
  const int32_t chosen = protocol::kLineRates.at(static_cast<std::size_t>(pc));
  session.SetLineSpeed(chosen);
  const int32_t inUse = session.FindDevice();
  if (inUse == 0)
    session.ui().ShowError(Text(kDeviceLost));
  else if (inUse != chosen)
    session.ui().ShowInformation(Text(kDeviceAnswersAtRate).arg(inUse));
}

void popupLoadMFClick(CommandSession& session) {
  TLoadMF dialog(session.dialogOwner());
  dialog.LoadMFRadio->SetItemIndex(0);
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  const auto printer = static_cast<std::size_t>(dialog.LoadMFRadio->ItemIndex());
  session.SendCommand(protocol::CommandFrame("LOADMF", {session.state().LoginPassword, kEmblemPrinterArguments[printer]}));
}

void popupNGTClick(CommandSession& session) {
  const auto answer = session.ui().ShowMessage(QMessageBox::Question, Text(kApplicationTitle),
                                               Text(kEraseOperatingMemory), QMessageBox::Yes | QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  session.SendCommand(protocol::CommandFrame("STNGT", {session.state().LoginPassword}));
  session.RefreshTotals();
}

void popupPairFPClick(CommandSession& session) {
  const std::string& password = session.state().LoginPassword;
  if (session.state().DeviceVersion > kLastVersionWithoutUnpairing)
    session.SendCommand(protocol::CommandFrame("STP", {password, "UDP", "0"}));
  session.SendCommand(protocol::CommandFrame("STPAIRFP", {password}));
  session.ui().ShowInformation(Text(kPairingDone));
  session.RefreshTotals();
}

void popupUserCMDClick(CommandSession& session) {
  TSendCMD dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  // Sent as typed: the text is the command's name and arguments; its answer
  // is of no interest here.
  session.SendCommand(protocol::CommandFrame(ToWindows1250(dialog.txtCMD->text())));
}

}  // namespace korvena::kalibro
