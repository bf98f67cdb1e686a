#include "commands/receipts_invoices.h"

#include <array>
#include <iterator>
#include <string>

#include "korvena/operations/sales.h"
#include "commands/command_session.h"
#include "korvena/operations/decimal_number_text.h"
#include "forms/faktura.h"
#include "shell/kalibro_texts.h"
#include "forms/koniec_b.h"
#include "forms/riadok_b.h"
#include "forms/start_b.h"
#include "commands/value_read_back.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

// The dialog's ModTyp lists the line kinds in the protocol's order.
static_assert(TRiadokB::kLineKinds == 6);

using CloseOperation = operations::Outcome (*)(operations::DeviceSession&, const operations::Payments&);

// Closing a receipt and closing an invoice differ only in the operation and
// the dialog's title.
void CloseDocument(CommandSession& session, CloseOperation close, const char* title) {
  TKoniecB dialog(session.dialogOwner());
  dialog.setWindowTitle(Text(title));
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;

  operations::Payments payments;
  for (int index = 0; index < TKoniecB::kPayments; ++index) {
    std::string& payment = payments.at(static_cast<std::size_t>(index));
    payment = ToWindows1250(dialog.Payment(index)->text());
    if (!operations::IsDecimalNumberText(payment)) {
      session.ui().ShowError(Text(kBadPayment).arg(index + 1));
      return;
    }
  }
  close(session.device(), payments);
  session.RefreshTotals();
}

}  // namespace

void menuStartBlokClick(CommandSession& session) {
  TStartB dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  operations::StartReceipt(session.device(), dialog.Mode());
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
  if (!operations::IsDecimalNumberText(unitPrice)) {
    session.ui().ShowError(Text(kBadUnitPrice));
    return;
  }
  if (!operations::IsDecimalNumberText(quantity)) {
    session.ui().ShowError(Text(kBadQuantity));
    return;
  }
  operations::AddReceiptLine(session.device(), protocol::LineKinds()[static_cast<std::size_t>(dialog.LineKind())].kind,
                             quantity, unitPrice, static_cast<char>('A' + dialog.VatClass()),
                             ToWindows1250(dialog.textEdit->text()));
  ReadBackValue(session, "vCRC");
}

void menuKoniecBlokClick(CommandSession& session) {
  CloseDocument(session, operations::CloseReceipt, kKoniecBCaption);
}

void popupStartFAClick(CommandSession& session) {
  TFaktura dialog(session.dialogOwner());
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  const std::string amount = ToWindows1250(dialog.txtSuma->text());
  const std::string text = ToWindows1250(dialog.txtFA->text());
  // An invoice needs both; without either there is nothing to open.
  if (amount.empty() || text.empty()) return;
  operations::StartInvoice(session.device(), amount, text);
}

void popupEndFAClick(CommandSession& session) {
  CloseDocument(session, operations::CloseInvoice, kKoniecFakturyCaption);
}

}  // namespace korvena::kalibro
