#pragma once
// One label of the status display: it sizes itself to its text and keeps its
// right edge where it was placed, so values grow to the left.
#include <QLabel>

namespace korvena::kalibro {

class StatusLabel : public QLabel {
  Q_OBJECT

 public:
  // The text ends at x = left + width.
  StatusLabel(QWidget* parent, int top, int left, int width, const QString& caption, const QString& name);

  void SetCaption(const QString& caption);
  int rightEdge() const { return rightEdge_; }

 private:
  int rightEdge_;
};

}  // namespace korvena::kalibro
