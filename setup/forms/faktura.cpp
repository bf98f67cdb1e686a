#include "forms/faktura.h"

#include "widgets/dialog_buttons.h"
#include "widgets/edit_under_label.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TFaktura::TFaktura(QWidget* owner) : QDialog(owner) {
  setObjectName("Faktura");
  setWindowTitle(Text(kFakturaCaption));
  txtFA = AddEditUnderLabel(*this, Text(kInvoiceTextLabel), "txtFALabel", "txtFA", 16, 16, 265);
  txtSuma = AddEditUnderLabel(*this, Text(kInvoiceAmountLabel), "txtSumaLabel", "txtSuma", 16, 60, 265);
  AddOkCancelButtons(*this, 112);
  MakeFixedDialog(*this, 297, 148);
  if (owner != nullptr) CenterOn(*this, *owner);
}

}  // namespace korvena::kalibro
