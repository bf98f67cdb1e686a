#include "shell/program_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace korvena::kalibro {
namespace {

const QColor kBody(0x2f, 0x4f, 0x6f);
const QColor kPaper(0xfb, 0xfa, 0xf4);
const QColor kInk(0x55, 0x55, 0x55);

// A printer seen from the front: body, paper slot, a receipt with lines and a
// small display, scaled into `area`.
void DrawPrinter(QPainter& painter, const QRectF& area) {
  const qreal w = area.width(), h = area.height();
  const QRectF receipt(area.left() + w * 0.22, area.top(), w * 0.56, h * 0.58);
  painter.setPen(QPen(kInk, 0.6));
  painter.setBrush(kPaper);
  painter.drawRect(receipt);
  for (int line = 0; line < 9; ++line) {
    const qreal y = receipt.top() + receipt.height() * (0.12 + line * 0.09);
    const qreal length = receipt.width() * (line % 3 == 2 ? 0.45 : 0.75);
    painter.drawLine(QPointF(receipt.left() + receipt.width() * 0.12, y),
                     QPointF(receipt.left() + receipt.width() * 0.12 + length, y));
  }
  const QRectF body(area.left(), area.top() + h * 0.55, w, h * 0.45);
  QLinearGradient shade(body.topLeft(), body.bottomLeft());
  shade.setColorAt(0, kBody.lighter(130));
  shade.setColorAt(1, kBody.darker(120));
  painter.setPen(Qt::NoPen);
  painter.setBrush(shade);
  painter.drawRoundedRect(body, w * 0.08, w * 0.08);
  painter.setBrush(QColor(0x10, 0x20, 0x30));
  painter.drawRect(QRectF(receipt.left() - w * 0.04, body.top() + h * 0.02, receipt.width() + w * 0.08, h * 0.025));
  painter.setBrush(QColor(0x7f, 0xd0, 0x8f));
  painter.drawRect(QRectF(body.left() + w * 0.15, body.top() + body.height() * 0.45, w * 0.7, body.height() * 0.22));
}

}  // namespace

QPixmap ProgramPicture(int width, int height) {
  QPixmap picture(width, height);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor(0xdd, 0xe8, 0xf2));
  sky.setColorAt(1, QColor(0x9f, 0xb8, 0xcf));
  painter.fillRect(picture.rect(), sky);
  DrawPrinter(painter, QRectF(width * 0.12, height * 0.34, width * 0.76, height * 0.4));

  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(width / 7);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(kBody);
  painter.drawText(QRectF(0, height * 0.06, width, height * 0.12), Qt::AlignCenter, QStringLiteral("KORVENA"));
  font.setPixelSize(width / 9);
  font.setBold(false);
  painter.setFont(font);
  painter.drawText(QRectF(0, height * 0.16, width, height * 0.1), Qt::AlignCenter, QStringLiteral("2010"));
  painter.drawText(QRectF(0, height * 0.8, width, height * 0.1), Qt::AlignCenter, QStringLiteral("Kalibro"));
  return picture;
}

QPixmap ProgramIconPixmap(int size) {
  QPixmap icon(size, size);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawPrinter(painter, QRectF(size * 0.08, size * 0.05, size * 0.84, size * 0.9));
  return icon;
}

}  // namespace korvena::kalibro
