#pragma once
// TProgressForm: the small window with a bar that long sequences show
// without blocking the main window. It has no close box: the work it shows
// runs to its end, so neither closing nor Escape hides it.
#include <QDialog>
#include <QLabel>
#include <QProgressBar>

namespace korvena::kalibro {

class TProgressForm : public QDialog {
  Q_OBJECT

 public:
  explicit TProgressForm(QWidget* owner = nullptr);

  void SetStep(int step) { step_ = step; }
  // Advances the bar by one step.
  void StepIt();

  QProgressBar* PBar;
  QLabel* LBar;

 protected:
  void closeEvent(QCloseEvent* event) override;

 public slots:
  void reject() override {}

 private:
  int step_ = 1;
};

}  // namespace korvena::kalibro
