#include "forms/mena_form.h"

#include "widgets/device_text_edit.h"
#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {
namespace {

constexpr int kRowHeight = 28;

}  // namespace

TMenaForm::TMenaForm(QWidget* owner) : QDialog(owner) {
  setObjectName("MenaForm");
  setWindowTitle(Text(kMenaFormCaption));
  for (int row = 0; row < kCurrencies; ++row) {
    const int top = 16 + row * kRowHeight;
    const QString number = QString::number(row + 1);
    auto* symbol = new QLineEdit(this);
    symbol->setObjectName("SMena" + number);
    symbol->setGeometry(16, top, 49, 21);
    LimitTyping(*symbol, kLongestSymbol);
    auto* rate = new QLineEdit(this);
    rate->setObjectName("kMena" + number);
    rate->setGeometry(73, top, 112, 21);
    symbols_[static_cast<std::size_t>(row)] = symbol;
    rates_[static_cast<std::size_t>(row)] = rate;
  }
  AddOkCancelButtons(*this, 16 + kCurrencies * kRowHeight + 8);
  MakeFixedDialog(*this, 201, 16 + kCurrencies * kRowHeight + 44);
  if (owner != nullptr) CenterOn(*this, *owner);
}

}  // namespace korvena::kalibro
