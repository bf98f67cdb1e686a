#include "commands/service_commands.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "forms/adzmz_form.h"
#include "shell/kalibro_texts.h"
#include "korvena/operations/service.h"
#include "korvena/protocol/info_catalogue.h"
#include "forms/load_mf.h"
#include "shell/responsive_line.h"
#include "forms/send_cmd.h"
#include "forms/set_baud_rate.h"
#include "commands/texts_file.h"
#include "shell/windows1250.h"
#include "forms/write_confirmation.h"

namespace korvena::kalibro {
namespace {

static_assert(operations::kEmblemPrinters == std::size(kEmblemPrinterCaptions));

// Item `index` of a group, or its last item when the index is past it.
void ChooseItem(TRadioGroup& group, int index) {
  group.SetItemIndex(std::min(index, group.Count() - 1));
}

}  // namespace

void popupFileClick(CommandSession& session) {
  const QString path = AskTextsFileToWrite(session.ui());
  if (path.isEmpty()) return;
  SaveTextsFile(QFile::encodeName(path).toStdString(), operations::ReadTextsFileLines(session.device()));
}

void popupTimeClick(CommandSession& session) {
  TAdzmzForm dialog(session.dialogOwner());
  dialog.MZtxtLabel->setText(FromWindows1250(operations::ReadClock(session.device())));
  dialog.SetClockReader([&session]() -> std::optional<QString> {
    // A tick runs in the dialog's event loop, where no error may escape:
    // a window closed meanwhile just ends the dialog.
    try {
      return FromWindows1250(session.Exchange(operations::ClockQuery(), operations::kClockQueryLimitMs));
    } catch (const SequenceInterrupted&) {
      return std::nullopt;
    }
  });
  if (session.ui().ExecDialog(dialog) != kWriteResult) return;
  operations::SetClock(session.device(), dialog.Fields());
}

void popupSetDDateClick(CommandSession& session) {
  TAdzmzForm dialog(session.dialogOwner());
  dialog.SwitchTimerOff();
  dialog.ShowSeconds();
  dialog.TimeLabel->setText(Text(kAutomaticClosingLabel));
  dialog.MZtxtLabel->setText(FromWindows1250(operations::ReadAutomaticClosing(session.device())));
  if (session.ui().ExecDialog(dialog) != kWriteResult) return;
  const operations::AutomaticClosingSet set = operations::SetAutomaticClosing(session.device(), dialog.Fields());
  session.values().Set(protocol::info::kAutomaticClosing, set.readBack);
}

void popupBaudRateClick(CommandSession& session) {
  const operations::LineSpeeds speeds = operations::ReadLineSpeeds(session.device());
  TSetBaudRate dialog(session.dialogOwner());
  ChooseItem(*dialog.PCRadio, speeds.pc);
  ChooseItem(*dialog.PRNRadio, speeds.internal);
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  const operations::LineSpeedsSet set =
      operations::SetLineSpeeds(session.device(), {dialog.PCRadio->ItemIndex(), dialog.PRNRadio->ItemIndex()});
  if (set.inUse == 0)
    session.ui().ShowError(Text(kDeviceLost));
  else if (set.inUse != set.chosen)
    session.ui().ShowInformation(Text(kDeviceAnswersAtRate).arg(set.inUse));
}

void popupLoadMFClick(CommandSession& session) {
  TLoadMF dialog(session.dialogOwner());
  dialog.LoadMFRadio->SetItemIndex(0);
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  operations::LoadEmblem(session.device(), operations::EmblemPrinterType(dialog.LoadMFRadio->ItemIndex()));
}

void popupNGTClick(CommandSession& session) {
  const auto answer = session.ui().ShowMessage(QMessageBox::Question, Text(kApplicationTitle),
                                               Text(kEraseOperatingMemory), QMessageBox::Yes | QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  operations::ZeroOperatingMemory(session.device());
  session.RefreshTotals();
}

void popupPairFPClick(CommandSession& session) {
  operations::PairFiscalMemory(session.device());
  session.ui().ShowInformation(Text(kPairingDone));
  session.RefreshTotals();
}

void popupUserCMDClick(CommandSession& session) {
  TSendCMD dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  // Sent as typed: the text is the command's name and arguments; its answer
  // is of no interest here.
  operations::SendFreeCommand(session.device(), ToWindows1250(dialog.txtCMD->text()));
}

}  // namespace korvena::kalibro
