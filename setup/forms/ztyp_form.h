#pragma once
// TZtypForm: the six rounding entries Za, Zb, Zc, Zhv, Zd and Zk, one row
// each: its caption and its edit (ZaEdit..ZkEdit), free text such as "A0.05".
#include <QDialog>
#include <QLineEdit>
#include <array>

namespace korvena::kalibro {

class TZtypForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kEntries = 6;

  // Centred on `owner`, the main window.
  explicit TZtypForm(QWidget* owner);

  // Entry 0 is Za, entry 5 Zk.
  QLineEdit* Entry(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
  // The entry's caption as its row shows it, "Za:" to "Zk:".
  static QString Caption(int index);

 private:
  std::array<QLineEdit*, kEntries> entries_{};
};

}  // namespace korvena::kalibro
