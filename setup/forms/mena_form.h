#pragma once
// TMenaForm: the symbols and exchange rates of the device's four currencies,
// one row each: the symbol (SMena1..4, at most three characters) and the
// rate (kMena1..4, free text).
#include <QDialog>
#include <QLineEdit>
#include <array>

namespace korvena::kalibro {

class TMenaForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kCurrencies = 4;
  static constexpr int kLongestSymbol = 3;

  // Centred on `owner`, the main window.
  explicit TMenaForm(QWidget* owner);

  // Row 0 holds currency 1.
  QLineEdit* Symbol(int row) const { return symbols_.at(static_cast<std::size_t>(row)); }
  QLineEdit* Rate(int row) const { return rates_.at(static_cast<std::size_t>(row)); }

 private:
  std::array<QLineEdit*, kCurrencies> symbols_{};
  std::array<QLineEdit*, kCurrencies> rates_{};
};

}  // namespace korvena::kalibro
