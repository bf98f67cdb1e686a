#include "widgets/num_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include "korvena/operations/device_integer.h"
#include "shell/kalibro_texts.h"

namespace korvena::kalibro {
namespace {

// Keys that type a character; navigation, Enter, Escape, Tab and shortcuts
// (Ctrl+V included) carry none or a control character and pass through.
// Ctrl with Alt is AltGr on Windows, which types "@" or "€".
bool TypesACharacter(const QKeyEvent& event) {
  const QString text = event.text();
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  const bool shortcut = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
  return !text.isEmpty() && text.at(0).isPrint() && !shortcut;
}

bool IsDigit(const QString& text) { return text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9'; }

}  // namespace

TNumEdit::TNumEdit(UserInteraction& ui, QWidget* parent) : QLineEdit(parent), ui_(ui) {
  connect(this, &QLineEdit::textChanged, this, [this] { ComplainIfInvalid(); });
}

bool TNumEdit::HasValidText() const {
  // Digits only: a sign or a blank pasted in would reach the device as typed.
  const QString digits = text();
  for (const QChar c : digits)
    if (c < u'0' || c > u'9') return false;
  return digits.isEmpty() || operations::ParseDeviceInteger(digits.toStdString()).has_value();
}

void TNumEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Backspace && TypesACharacter(*event) && !IsDigit(event->text())) {
    QApplication::beep();
    emit keyRejected();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TNumEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Only the technician moving on within the dialog is held back; another
  // window coming to the front (a dialog closing, a message box) is not.
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  if (complaining_ || HasValidText()) return;
  setFocus();
  ComplainIfInvalid();
}

void TNumEdit::ComplainIfInvalid() {
  if (complaining_ || HasValidText()) return;
  complaining_ = true;
  ui_.ShowError(Text(kInvalidInput));
  complaining_ = false;
}

}  // namespace korvena::kalibro
