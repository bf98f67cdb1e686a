#include "widgets/edit_under_label.h"

#include <QLabel>

namespace korvena::kalibro {
namespace {

constexpr int kLabelHeight = 16;
constexpr int kEditHeight = 21;

}  // namespace

QLineEdit* AddEditUnderLabel(QWidget& dialog, const QString& caption, const char* labelName, const char* editName,
                             int left, int top, int width) {
  auto* label = new QLabel(caption, &dialog);
  label->setObjectName(labelName);
  label->setGeometry(left, top, width, kLabelHeight);
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(editName);
  edit->setGeometry(left, top + kLabelHeight, width, kEditHeight);
  label->setBuddy(edit);
  return edit;
}

}  // namespace korvena::kalibro
