#include "receipts_invoices.h"

#include <array>
#include <iterator>
#include <string>

#include "korvena/protocol/frame.h"
#include "command_session.h"
#include "decimal_number_text.h"
#include "faktura.h"
#include "kalibro_texts.h"
#include "koniec_b.h"
#include "riadok_b.h"
#include "start_b.h"
#include "value_read_back.h"
#include "windows1250.h"

namespace korvena::kalibro {
namespace {

// The command of each line kind, in the order of the dialog's ModTyp.
constexpr const char* kLineCommands[] = {"L", "LS", "LZ", "LP", "LM", "LV"};
static_assert(std::size(kLineCommands) == TRiadokB::kLineKinds);

// Closing a receipt and closing an invoice differ only in the command and
// the dialog's title.
void CloseDocument(CommandSession& session, const char* command, const char* title) {
  TKoniecB dialog(session.dialogOwner());
  dialog.setWindowTitle(Text(title));
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  std::array<std::string, TKoniecB::kPayments> payments;
  for (int index = 0; index < TKoniecB::kPayments; ++index) {
    std::string& payment = payments.at(static_cast<std::size_t>(index));
    payment = ToWindows1250(dialog.Payment(index)->text());
    if (!IsDecimalNumberText(payment)) {
      session.ui().ShowError(Text(kBadPayment).arg(index + 1));
      return;
    }
  }
  const auto& [pay1, pay2, pay3, pay4, pay5, pay6] = payments;
  session.SendCommand(protocol::CommandFrame(command, {pay1, pay2, pay3, pay4, pay5, pay6}));
  session.RefreshTotals();
}

}  // namespace

void menuStartBlokClick(CommandSession& session) {
  TStartB dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  session.SendCommand(protocol::CommandFrame("S", {std::to_string(dialog.Mode())}));
  ReadBackValue(session, "vCRC");
  ReadBackValue(session, "vDUDate");
  ReadBackValue(session, "vDDate");
}

void menuRiadokBlokClick(CommandSession& session) {
  TRiadokB dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  const std::string quantity = ToWindows1250(dialog.ksEdit->text());
  const std::string unitPrice = ToWindows1250(dialog.jcEdit->text());
  // The price is judged first, so a bad price is what the technician hears
  // of even when the quantity is bad too.
  if (!IsDecimalNumberText(unitPrice)) {
    session.ui().ShowError(Text(kBadUnitPrice));
    return;
  }
  if (!IsDecimalNumberText(quantity)) {
    session.ui().ShowError(Text(kBadQuantity));
    return;
  }
  const std::string vatLetter(1, static_cast<char>('A' + dialog.VatClass()));
  session.SendCommand(protocol::CommandFrame(kLineCommands[dialog.LineKind()],
                                   {quantity, unitPrice, vatLetter, ToWindows1250(dialog.textEdit->text())}));
  ReadBackValue(session, "vCRC");
}

void menuKoniecBlokClick(CommandSession& session) { CloseDocument(session, "K", kKoniecBCaption); }

void popupStartFAClick(CommandSession& session) {
  TFaktura dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  const std::string amount = ToWindows1250(dialog.txtSuma->text());
  const std::string text = ToWindows1250(dialog.txtFA->text());
  // An invoice needs both; without either there is nothing to open.
  if (amount.empty() || text.empty()) return;
  session.SendCommand(protocol::CommandFrame("F", {amount, text}));
}

void popupEndFAClick(CommandSession& session) { CloseDocument(session, "KF", kKoniecFakturyCaption); }

}  // namespace korvena::kalibro
