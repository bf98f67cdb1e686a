#include "passwords_rounding.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "command_session.h"
#include "device_text_edit.h"
#include "item_list.h"
#include "kalibro_texts.h"
#include "mena_form.h"
#include "pass_c_form.h"
#include "windows1250.h"
#include "ztyp_form.h"

namespace korvena::kalibro {
namespace {

// The device takes no empty password; an empty one typed means "0".
constexpr const char* kEmptyPasswordSentAs = "0";

// The two fields STZTYP takes for one rounding entry: its kind, chosen by
// the entry's first letter, and its value, the rest of the entry.
struct RoundingFields {
  std::string kind;
  std::string value;
};

std::optional<RoundingFields> RoundingFieldsOf(const std::string& entry) {
  if (entry.empty()) return std::nullopt;
  const char* kind = nullptr;
  switch (entry.front()) {
    case 'A':
    case 'a':
      kind = "0.5";
      break;
    case 'H':
    case 'h':
      kind = "0.99999999";
      break;
    case 'P':
    case 'p':
      kind = "50";
      break;
    default:
      return std::nullopt;
  }
  return RoundingFields{kind, entry.substr(1)};
}

}  // namespace

void popupPasswdClick(CommandSession& session) {
  TPassCForm dialog(session.ui(), session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  ConnectionState& state = session.state();
  if (ToWindows1250(dialog.OldPassword()) != state.LoginPassword) {
    session.ui().ShowError(Text(kWrongPassword));
    return;
  }
  const std::string typed = ToWindows1250(dialog.NewPassword());
  const std::string newPassword = typed.empty() ? std::string(kEmptyPasswordSentAs) : typed;
  // From now on the device checks every configuration command against the
  // new password, so the session's commands must carry it.
  if (session.SendCommand(protocol::CommandFrame("STPASS", {state.LoginPassword, newPassword})))
    state.LoginPassword = newPassword;
}

void popupKurzMenaClick(CommandSession& session) {
  TMenaForm dialog(session.dialogOwner());
  for (int row = 0; row < TMenaForm::kCurrencies; ++row) {
    const std::string reply = session.QueryInfo(protocol::info::Currency(row + 1));
    const std::size_t comma = reply.find(',');
    const std::string symbol = comma == std::string::npos ? reply : reply.substr(0, comma);
    const std::string rate = comma == std::string::npos ? reply : reply.substr(comma + 1);
    ShowWhole(*dialog.Symbol(row), FromWindows1250(symbol));
    dialog.Rate(row)->setText(FromWindows1250(rate));
  }
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  const std::string& password = session.state().LoginPassword;
  for (int row = 0; row < TMenaForm::kCurrencies; ++row) {
    const std::string symbol = ToWindows1250(dialog.Symbol(row)->text());
    if (symbol.empty()) continue;  // an unused currency; its number stays with its row
    session.SendCommand(protocol::CommandFrame(
        "STKZ", {password, std::to_string(row + 1), symbol, ToWindows1250(dialog.Rate(row)->text())}));
  }
}

void popupZtypClick(CommandSession& session) {
  const std::vector<std::string> items = SplitItemList(session.QueryInfo(protocol::info::kRoundingSettings));
  if (items.size() < TZtypForm::kEntries) {
    session.ui().ShowError(Text(kNoRoundingEntries));
    return;
  }
  TZtypForm dialog(session.dialogOwner());
  for (int index = 0; index < TZtypForm::kEntries; ++index)
    dialog.Entry(index)->setText(FromWindows1250(items[static_cast<std::size_t>(index)]));
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  std::array<RoundingFields, TZtypForm::kEntries> fields;
  for (int index = 0; index < TZtypForm::kEntries; ++index) {
    const std::optional<RoundingFields> entry = RoundingFieldsOf(ToWindows1250(dialog.Entry(index)->text()));
    if (!entry) {
      session.ui().ShowError(Text(kWrongRoundingEntry).arg(TZtypForm::Caption(index)));
      return;
    }
    fields[static_cast<std::size_t>(index)] = *entry;
  }
  const auto& [za, zb, zc, zhv, zd, zk] = fields;
  session.SendCommand(protocol::CommandFrame("STZTYP", {session.state().LoginPassword, za.kind, za.value, zb.kind, zb.value,
                                              zc.kind, zc.value, zhv.kind, zhv.value, zd.kind, zd.value, zk.kind,
                                              zk.value}));
}

}  // namespace korvena::kalibro
