#include "widgets/status_label.h"

namespace korvena::kalibro {
namespace {

constexpr int kLabelPointSize = 9;

}  // namespace

StatusLabel::StatusLabel(QWidget* parent, int top, int left, int width, const QString& caption,
                         const QString& name)
    : QLabel(parent), rightEdge_(left + width) {
  setObjectName(name);
  QFont labelFont = font();
  labelFont.setPointSize(kLabelPointSize);
  setFont(labelFont);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  move(left, top);
  SetCaption(caption);
  show();
}

void StatusLabel::SetCaption(const QString& caption) {
  setText(caption);
  adjustSize();
  move(rightEdge_ - width(), y());
}

}  // namespace korvena::kalibro
