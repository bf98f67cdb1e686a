#include "widgets/device_text_edit.h"

#include <algorithm>

namespace korvena::kalibro {

void LimitTyping(QLineEdit& edit, int longest) {
  edit.setMaxLength(longest);
  // Qt's limit also cuts text put in by the program, so while a longer text
  // is shown the limit follows its length down to `longest`.
  QObject::connect(&edit, &QLineEdit::textChanged, &edit, [&edit, longest](const QString& text) {
    const int limit = std::max(longest, static_cast<int>(text.size()));
    if (limit == edit.maxLength()) return;
    const int cursor = edit.cursorPosition();
    edit.setMaxLength(limit);  // sets the text again, the caret to its end
    edit.setCursorPosition(cursor);
  });
}

void ShowWhole(QLineEdit& edit, const QString& text) {
  if (text.size() > edit.maxLength()) edit.setMaxLength(static_cast<int>(text.size()));
  edit.setText(text);
}

}  // namespace korvena::kalibro
