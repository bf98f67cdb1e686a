#include "commands/passwords_rounding.h"

#include <string>
#include <vector>

#include "commands/command_session.h"
#include "widgets/device_text_edit.h"
#include "shell/kalibro_texts.h"
#include "korvena/operations/passwords_rounding.h"
#include "forms/mena_form.h"
#include "forms/pass_c_form.h"
#include "shell/windows1250.h"
#include "forms/ztyp_form.h"

namespace korvena::kalibro {

void popupPasswdClick(CommandSession& session) {
  TPassCForm dialog(session.ui(), session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  if (ToWindows1250(dialog.OldPassword()) != session.state().LoginPassword) {
    session.ui().ShowError(Text(kWrongPassword));
    return;
  }
  operations::ChangePassword(session.device(), ToWindows1250(dialog.NewPassword()));
}

void popupKurzMenaClick(CommandSession& session) {
  TMenaForm dialog(session.dialogOwner());
  const operations::Currencies shown = operations::ReadCurrencies(session.device());
  for (int row = 0; row < TMenaForm::kCurrencies; ++row) {
    const operations::Currency& currency = shown[static_cast<std::size_t>(row)];
    ShowWhole(*dialog.Symbol(row), FromWindows1250(currency.symbol));
    dialog.Rate(row)->setText(FromWindows1250(currency.rate));
  }
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  operations::Currencies typed;
  for (int row = 0; row < TMenaForm::kCurrencies; ++row)
    typed[static_cast<std::size_t>(row)] = {ToWindows1250(dialog.Symbol(row)->text()),
                                            ToWindows1250(dialog.Rate(row)->text())};
  operations::WriteCurrencies(session.device(), typed);
}

void popupZtypClick(CommandSession& session) {
  const std::vector<std::string> items = operations::ReadRoundingEntries(session.device());
  if (items.size() < TZtypForm::kEntries) {
    session.ui().ShowError(Text(kNoRoundingEntries));
    return;
  }
  TZtypForm dialog(session.dialogOwner());
  for (int index = 0; index < TZtypForm::kEntries; ++index)
    dialog.Entry(index)->setText(FromWindows1250(items[static_cast<std::size_t>(index)]));
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  operations::RoundingEntries entries;
  for (int index = 0; index < TZtypForm::kEntries; ++index)
    entries[static_cast<std::size_t>(index)] = ToWindows1250(dialog.Entry(index)->text());
  if (const auto bad = operations::FirstBadRoundingEntry(entries)) {
    session.ui().ShowError(Text(kWrongRoundingEntry).arg(TZtypForm::Caption(*bad)));
    return;
  }
  operations::WriteRoundingEntries(session.device(), entries);
}

}  // namespace korvena::kalibro
