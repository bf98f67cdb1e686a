#pragma once
// TKdphForm: the four VAT coefficients in units of 0.01 %, each a numeric
// edit of at most five digits.
#include <QDialog>
#include <array>

#include "widgets/num_edit.h"

namespace korvena::kalibro {

class TKdphForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kRates = 4;
  static constexpr int kLongestCoefficient = 5;

  TKdphForm(UserInteraction& ui, QWidget* parent = nullptr);

  // The edit of VAT rate `rate`, 1..4.
  TNumEdit* Coefficient(int rate) const { return edits_.at(static_cast<std::size_t>(rate - 1)); }

 private:
  std::array<TNumEdit*, kRates> edits_{};
};

}  // namespace korvena::kalibro
