#include "fiscal_identity_commands.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "crc_form.h"
#include "device_integer.h"
#include "device_text_edit.h"
#include "dickp_form.h"
#include "kalibro_texts.h"
#include "kdph_form.h"
#include "reg_form.h"
#include "windows1250.h"

namespace korvena::kalibro {
namespace {

namespace info = protocol::info;

constexpr int kLowestVatCoefficient = 0;
constexpr int kHighestVatCoefficient = 10000;  // 100.00 %

// An identity value: the command that sets it, the info number that reports
// it and the status label that shows it, in the order of the dialog's edits.
struct IdentityValue {
  const char* command;
  int info;
  const char* label;
};

constexpr IdentityValue kIdentityValues[TDickpForm::kValues] = {
    {"STDIC", info::kDic, "vDIC"},
    {"STDKP", info::kDkp, "vDKP"},
    {"STICDPH", info::kIcDph, "vICDPH"},
    {"STICO", info::kIco, "vICO"},
};

// The register flags ESC ";STP;" writes, in the order they are always sent.
constexpr const char* kFlagWriteOrder[] = {"T0", "T1", "T2", "ADU", "TIME", "HV", "DL", "DPH", "NODISP", "FILE"};

// What the device stores once it is commissioned, with their status labels.
constexpr std::pair<int, const char*> kCommissioningValues[] = {
    {info::kCommissioningDate, "vDUDP"},
    {info::kLastServiceDate, "vDServ"},
    {info::kLastClosingDate, "vDUDate"},
    {info::kAutomaticClosing, "vDDate"},
};

void ReadBack(CommandSession& session, int info, const QString& label) {
  session.SetValueLabel(label, FromWindows1250(session.QueryInfo(info)));
}

const char* OnOff(bool on) { return on ? "1" : "0"; }

const RegisterFlag& FlagWrittenAs(std::string_view name) {
  for (const RegisterFlag& flag : RegisterFlags())
    if (flag.written != nullptr && name == flag.written) return flag;
  throw std::out_of_range("no register flag is written as " + std::string(name));
}

}  // namespace

void popupDICDKPClick(CommandSession& session) {
  TDickpForm dialog(session.ui(), session.dialogOwner());
  for (int i = 0; i < TDickpForm::kValues; ++i)
    ShowWhole(*dialog.Edit(i), FromWindows1250(session.QueryInfo(kIdentityValues[i].info)));
  if (session.ui().ExecDialog(dialog) != kWriteResult) return;

  const std::string& password = session.state().LoginPassword;
  for (int i = 0; i < TDickpForm::kValues; ++i) {
    const QString text = dialog.Edit(i)->text();
    // An empty edit leaves the device's value as it is.
    if (text.isEmpty()) continue;
    const IdentityValue& value = kIdentityValues[i];
    session.SendCommand(protocol::CommandFrame(value.command, {password, ToWindows1250(text)}));
    ReadBack(session, value.info, value.label);
  }
}

void popupkDPHClick(CommandSession& session) {
  TKdphForm dialog(session.ui(), session.dialogOwner());
  for (int rate = 1; rate <= TKdphForm::kRates; ++rate) {
    QString text;
    session.GetValueLabel(QString("vkDPH%1").arg(rate), text);
    ShowWhole(*dialog.Coefficient(rate), text);
  }
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  std::array<int32_t, TKdphForm::kRates> coefficients{};
  std::array<std::string, TKdphForm::kRates> texts;
  for (int rate = 1; rate <= TKdphForm::kRates; ++rate) {
    const int32_t value = ParseDeviceInteger(dialog.Coefficient(rate)->text().toStdString()).value_or(-1);
    if (value < kLowestVatCoefficient || value > kHighestVatCoefficient) {
      session.ui().ShowError(Text(kBadVatCoefficient).arg(rate));
      return;
    }
    coefficients.at(static_cast<std::size_t>(rate - 1)) = value;
    texts.at(static_cast<std::size_t>(rate - 1)) = std::to_string(value);
  }
  session.SendCommand(protocol::CommandFrame("STKDPH", {session.state().LoginPassword, texts[0], texts[1], texts[2], texts[3]}));

  for (int rate = 1; rate <= TKdphForm::kRates; ++rate)
    ReadBack(session, info::VatCoefficient(rate), QString("vkDPH%1").arg(rate));
  // The rows of each rate are titled by its whole percent, as sent.
  for (int rate = 1; rate <= TKdphForm::kRates; ++rate) {
    const QString percent = QString::number(coefficients.at(static_cast<std::size_t>(rate - 1)) / 100);
    session.SetValueLabel(QString("lz%1").arg(rate), "z" + percent);
    session.SetValueLabel(QString("ld%1").arg(rate), "d" + percent);
  }
}

void popupRegisterClick(CommandSession& session) {
  const int32_t flags = ToInteger(session.QueryInfo(info::kRegisterFlags));
  TRegForm dialog(flags, session.state().DeviceVersion, session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  const auto changed = [&](const RegisterFlag& flag) {
    return dialog.IsTicked(flag) != ((static_cast<uint32_t>(flags) & flag.bit) != 0);
  };
  const std::string& password = session.state().LoginPassword;
  for (const char* name : kFlagWriteOrder) {
    const RegisterFlag& flag = FlagWrittenAs(name);
    if (changed(flag)) session.SendCommand(protocol::CommandFrame("STP", {password, name, OnOff(dialog.IsTicked(flag))}));
  }
  const RegisterFlag& testMode = RegisterFlagOfBox("TestCheck");
  if (changed(testMode)) session.SendCommand(protocol::CommandFrame("STTEST", {OnOff(dialog.IsTicked(testMode))}));

  const RegisterFlag& deposit = RegisterFlagOfBox("VkladCheck");
  if (changed(deposit)) {
    if (dialog.IsTicked(deposit)) {
      // A cancelled input box switches the deposit on with no amount.
      const QString amount = session.ui().AskText({}, Text(kAutomaticDepositPrompt), {}).value_or(QString());
      session.SendCommand(protocol::CommandFrame("STAUVKLAD", {password, ToWindows1250(amount)}));
    } else {
      session.SendCommand(protocol::CommandFrame("STP", {password, "AVV", "0"}));
    }
  }
  ReadBack(session, info::kRegisterFlags, "vRegister");
}

void popupRepairClick(CommandSession& session) {
  TCRCForm dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) == QDialog::Accepted) {
    session.SendCommand(protocol::CommandFrame("STUP", {session.state().LoginPassword}));
    for (const auto& [info, label] : kCommissioningValues) ReadBack(session, info, label);
  }
  // Whether or not the device was commissioned, its totals are shown afresh.
  session.RefreshTotals();
}

}  // namespace korvena::kalibro
