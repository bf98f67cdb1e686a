#include "commands/fiscal_identity_commands.h"

#include <array>
#include <string>
#include <utility>

#include "forms/crc_form.h"
#include "widgets/device_text_edit.h"
#include "forms/dickp_form.h"
#include "shell/kalibro_texts.h"
#include "forms/kdph_form.h"
#include "korvena/operations/device_integer.h"
#include "korvena/operations/fiscal_identity.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/register_flags.h"
#include "forms/reg_form.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

namespace info = protocol::info;

// The identity values' info numbers, in the order of the dialog's edits and
// of operations::TaxIdentity.
constexpr int kIdentityInfos[TDickpForm::kValues] = {info::kDic, info::kDkp, info::kIcDph, info::kIco};

std::string operations::TaxIdentity::*const kIdentityFields[TDickpForm::kValues] = {
    &operations::TaxIdentity::dic, &operations::TaxIdentity::dkp, &operations::TaxIdentity::icDph,
    &operations::TaxIdentity::ico};

}  // namespace

void popupDICDKPClick(CommandSession& session) {
  TDickpForm dialog(session.ui(), session.dialogOwner());
  const operations::TaxIdentity shown = operations::ReadTaxIdentity(session.device());
  for (int i = 0; i < TDickpForm::kValues; ++i) ShowWhole(*dialog.Edit(i), FromWindows1250(shown.*kIdentityFields[i]));
  if (session.ui().ExecDialog(dialog) != kWriteResult) return;

  // An empty edit leaves the device's value as it is.
  operations::TaxIdentity typed;
  for (int i = 0; i < TDickpForm::kValues; ++i) typed.*kIdentityFields[i] = ToWindows1250(dialog.Edit(i)->text());
  const operations::TaxIdentityWritten written = operations::WriteTaxIdentity(session.device(), typed);
  for (int i = 0; i < TDickpForm::kValues; ++i)
    if (const auto& value = written.readBack[static_cast<std::size_t>(i)])
      session.values().Set(kIdentityInfos[i], *value);
}

void popupkDPHClick(CommandSession& session) {
  TKdphForm dialog(session.ui(), session.dialogOwner());
  for (int rate = 1; rate <= TKdphForm::kRates; ++rate) {
    const std::string shown = session.values().Get(info::VatCoefficient(rate)).value_or(std::string());
    ShowWhole(*dialog.Coefficient(rate), FromWindows1250(shown));
  }
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  operations::VatCoefficients coefficients{};
  for (int rate = 1; rate <= TKdphForm::kRates; ++rate) {
    const int32_t value = operations::ParseDeviceInteger(dialog.Coefficient(rate)->text().toStdString()).value_or(-1);
    if (!operations::ValidVatCoefficient(value)) {
      session.ui().ShowError(Text(kBadVatCoefficient).arg(rate));
      return;
    }
    coefficients.at(static_cast<std::size_t>(rate - 1)) = value;
  }
  const operations::VatCoefficientsWritten written = operations::WriteVatCoefficients(session.device(), coefficients);
  for (int rate = 1; rate <= TKdphForm::kRates; ++rate)
    session.values().Set(info::VatCoefficient(rate), written.readBack.at(static_cast<std::size_t>(rate - 1)));
  // The rows of each rate are titled by its whole percent, as sent.
  for (int rate = 1; rate <= TKdphForm::kRates; ++rate) {
    const QString percent = QString::number(coefficients.at(static_cast<std::size_t>(rate - 1)) / 100);
    session.SetValueLabel(QString("lz%1").arg(rate), "z" + percent);
    session.SetValueLabel(QString("ld%1").arg(rate), "d" + percent);
  }
}

void popupRegisterClick(CommandSession& session) {
  const uint32_t flags = operations::ReadRegisterFlags(session.device());
  TRegForm dialog(static_cast<int32_t>(flags), session.state().DeviceVersion, session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  uint32_t wanted = flags;
  for (const RegisterFlag& flag : RegisterFlags())
    wanted = dialog.IsTicked(flag) ? wanted | flag.bit : wanted & ~flag.bit;
  // A cancelled input box switches the deposit on with no amount.
  std::string amount;
  if (((flags ^ wanted) & protocol::flag::kAutomaticDeposit) != 0 && (wanted & protocol::flag::kAutomaticDeposit) != 0)
    amount = ToWindows1250(session.ui().AskText({}, Text(kAutomaticDepositPrompt), {}).value_or(QString()));
  const operations::RegisterFlagsWritten written = operations::WriteRegisterFlags(session.device(), flags, wanted, amount);
  session.values().Set(info::kRegisterFlags, written.readBack);
}

void popupRepairClick(CommandSession& session) {
  TCRCForm dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) == QDialog::Accepted) {
    const operations::Commissioned done = operations::Commission(session.device());
    for (const auto& [number, answer] : done.values) session.values().Set(number, answer);
  }
  // Whether or not the device was commissioned, its totals are shown afresh.
  session.RefreshTotals();
}

}  // namespace korvena::kalibro
