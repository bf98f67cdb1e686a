#pragma once
// TKoniecB: closing a receipt (or, retitled, an invoice) with the amounts of
// the six means of payment, plat1Edit..plat6Edit beside their captions
// plat1Text..plat6Text. The amounts are checked by the command, not here.
#include <QDialog>
#include <QLineEdit>
#include <array>

namespace korvena::kalibro {

class TKoniecB : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPayments = 6;
  static constexpr int kLongestAmount = 16;

  explicit TKoniecB(QWidget* parent = nullptr);

  // Payment `index` 0..5 is payment means 1..6.
  QLineEdit* Payment(int index) const { return payments_.at(static_cast<std::size_t>(index)); }

 private:
  std::array<QLineEdit*, kPayments> payments_{};
};

}  // namespace korvena::kalibro
