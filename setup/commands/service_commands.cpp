#include "service_commands.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "adzmz_form.h"
#include "code_page_852.h"
#include "command_frame.h"
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

constexpr int kInfoClock = 19;
constexpr int kInfoAutomaticClosing = 62;
constexpr int kInfoLineSpeeds = 170;
// The clock's timer asks with a limit of its own, not the time-out unit.
constexpr uint32_t kClockLimitMs = 1000;
// Time for the device to switch its line speed after it has answered.
constexpr uint32_t kSpeedSwitchMs = 100;
// DeviceVersion from which the commissioned flag is cleared before pairing.
constexpr int32_t kLastVersionWithoutUnpairing = 13021;

// The lines of a texts file: key and info number; the header and footer
// lines come in the device's code page, the identity values as they are.
struct TextsFileLine {
  std::string key;
  int info;
  bool devicePage;
};

constexpr int kDocumentLines = 10;
constexpr int kFirstHeaderInfo = 120;
constexpr int kFirstFooterInfo = 130;

std::vector<TextsFileLine> TextsFileLines() {
  std::vector<TextsFileLine> lines = {{"DKP", 2, false}, {"DIC", 3, false}, {"ICDPH", 4, false}, {"ICO", 9, false}};
  for (int i = 0; i < kDocumentLines; ++i) lines.push_back({"HL" + std::to_string(i + 1), kFirstHeaderInfo + i, true});
  for (int i = 0; i < kDocumentLines; ++i) lines.push_back({"TL" + std::to_string(i + 1), kFirstFooterInfo + i, true});
  return lines;
}

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
  for (const TextsFileLine& line : TextsFileLines()) {
    const std::string value = session.QueryInfo(line.info);
    lines.emplace_back(line.key, line.devicePage ? DeviceToPc(value) : value);
  }
  TextsFile::Save(QFile::encodeName(path).toStdString(), lines);
}

void popupTimeClick(CommandSession& session) {
  TAdzmzForm dialog(session.dialogOwner());
  ShowDeviceValue(session, dialog, kInfoClock);
  const std::string clockQuery = CommandFrame("IV", {Number(kInfoClock)});
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
  session.SendCommand(CommandFrame("STDATETIME", {session.state().LoginPassword, Number(time.hour),
                                                  Number(time.minute), "0", Number(time.date.day),
                                                  Number(time.date.month), Number(time.date.year)}));
}

void popupSetDDateClick(CommandSession& session) {
  TAdzmzForm dialog(session.dialogOwner());
  dialog.SwitchTimerOff();
  dialog.ShowSeconds();
  dialog.TimeLabel->setText(Text(kAutomaticClosingLabel));
  ShowDeviceValue(session, dialog, kInfoAutomaticClosing);
  if (session.ui().ExecDialog(dialog) != kWriteResult) return;

  const LocalDateTime time = dialog.Fields();
  session.SendCommand(CommandFrame("STDDATE", {session.state().LoginPassword, Number(time.hour), Number(time.minute),
                                               Number(time.second), Number(time.date.day), Number(time.date.month),
                                               Number(time.date.year)}));
  session.SetValueLabel("vDDate", FromWindows1250(session.QueryInfo(kInfoAutomaticClosing)));
}

void popupBaudRateClick(CommandSession& session) {
  // The low byte: the PC line's index in its high half, the internal one's
  // in its low three bits.
  const uint32_t code = static_cast<uint32_t>(ToInteger(session.QueryInfo(kInfoLineSpeeds))) & 0xFF;
  TSetBaudRate dialog(session.dialogOwner());
  ChooseItem(*dialog.PCRadio, code / 16);
  ChooseItem(*dialog.PRNRadio, code & 7);
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  const int pc = dialog.PCRadio->ItemIndex();
  const int internal = dialog.PRNRadio->ItemIndex();
  session.SendCommand(CommandFrame("STBRATE", {session.state().LoginPassword, Number(pc), Number(internal)}));
  session.Wait(kSpeedSwitchMs);

  // The PC follows only as far as the device did: if the device kept its
  // speed (it refused, or missed the command), the link would be lost.
  const int32_t chosen = kBaudTable.at(static_cast<std::size_t>(pc));
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
  session.SendCommand(CommandFrame("LOADMF", {session.state().LoginPassword, kEmblemPrinterArguments[printer]}));
}

void popupNGTClick(CommandSession& session) {
  const auto answer = session.ui().ShowMessage(QMessageBox::Question, Text(kApplicationTitle),
                                               Text(kEraseOperatingMemory), QMessageBox::Yes | QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  session.SendCommand(CommandFrame("STNGT", {session.state().LoginPassword}));
  session.RefreshTotals();
}

void popupPairFPClick(CommandSession& session) {
  const std::string& password = session.state().LoginPassword;
  if (session.state().DeviceVersion > kLastVersionWithoutUnpairing)
    session.SendCommand(CommandFrame("STP", {password, "UDP", "0"}));
  session.SendCommand(CommandFrame("STPAIRFP", {password}));
  session.ui().ShowInformation(Text(kPairingDone));
  session.RefreshTotals();
}

void popupUserCMDClick(CommandSession& session) {
  TSendCMD dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  // Sent as typed: the text is the command's name and arguments; its answer
  // is of no interest here.
  session.SendCommand(CommandFrame(ToWindows1250(dialog.txtCMD->text())));
}

}  // namespace korvena::kalibro
