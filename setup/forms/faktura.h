#pragma once
// TFaktura: opening an invoice with its text (txtFA) and amount (txtSuma),
// both free text of any length.
#include <QDialog>
#include <QLineEdit>

namespace korvena::kalibro {

class TFaktura : public QDialog {
  Q_OBJECT

 public:
  // Centred on `owner`, the main window.
  explicit TFaktura(QWidget* owner);

  QLineEdit* txtFA;
  QLineEdit* txtSuma;
};

}  // namespace korvena::kalibro
