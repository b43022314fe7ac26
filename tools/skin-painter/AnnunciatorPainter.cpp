#include "AnnunciatorPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace tavrel::painter {
namespace {

// Icons are drawn in a 16 x 10 box and scaled to the icon size.
constexpr double kBoxWidth = 16;
constexpr double kBoxHeight = 10;

void arrowHead(QPainter& painter, QPointF tip, double direction) {
  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(tip + QPointF(-2.6 * direction, -2.2));
  head.lineTo(tip + QPointF(-2.6 * direction, 2.2));
  head.closeSubpath();
  painter.fillPath(head, painter.pen().color());
}

void transmit(QPainter& painter) {
  painter.setBrush(painter.pen().color());
  painter.drawEllipse(QPointF(8, 5), 1.4, 1.4);
  painter.setBrush(Qt::NoBrush);
  for (const double radius : {3.4, 6.0}) {
    const QRectF box(8 - radius, 5 - radius, 2 * radius, 2 * radius);
    painter.drawArc(box, -40 * 16, 80 * 16);
    painter.drawArc(box, 140 * 16, 80 * 16);
  }
}

// A bent arrow: up the side, then across towards the arrowhead.
void shiftArrow(QPainter& painter, double direction) {
  const double tail = 8 - 3.5 * direction;
  const double tip = 8 + 4.6 * direction;
  QPainterPath path;
  path.moveTo(tail, 9);
  path.lineTo(tail, 4.5);
  path.lineTo(tip - 2 * direction, 4.5);
  painter.drawPath(path);
  arrowHead(painter, QPointF(tip, 4.5), direction);
}

void alpha(QPainter& painter, const QString& fontFamily) {
  QFont font(fontFamily);
  font.setPixelSize(11);
  font.setBold(true);
  font.setHintingPreference(QFont::PreferNoHinting);
  painter.setFont(font);
  painter.drawText(QRectF(0, -1, kBoxWidth, kBoxHeight + 1), Qt::AlignCenter, QStringLiteral("α"));
}

void alert(QPainter& painter) {
  QPainterPath triangle;
  triangle.moveTo(8, 0.8);
  triangle.lineTo(13, 9.2);
  triangle.lineTo(3, 9.2);
  triangle.closeSubpath();
  painter.drawPath(triangle);
  painter.drawLine(QPointF(8, 3.8), QPointF(8, 6.4));
  painter.drawPoint(QPointF(8, 8));
}

void busy(QPainter& painter) {
  QPainterPath glass;
  glass.moveTo(4.5, 0.8);
  glass.lineTo(11.5, 0.8);
  glass.lineTo(4.5, 9.2);
  glass.lineTo(11.5, 9.2);
  glass.closeSubpath();
  painter.drawPath(glass);
  QPainterPath sand;
  sand.moveTo(6.2, 9.2);
  sand.lineTo(9.8, 9.2);
  sand.lineTo(8, 7);
  sand.closeSubpath();
  painter.fillPath(sand, painter.pen().color());
}

}  // namespace

QImage paintAnnunciators(const IconStrip& strip, const QColor& ink, const QString& fontFamily) {
  const QSize icon = strip.iconSize;
  QImage image(icon.width() * 6, icon.height(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  const std::function<void(QPainter&)> icons[6] = {
      transmit,
      [](QPainter& p) { shiftArrow(p, -1); },
      [](QPainter& p) { shiftArrow(p, 1); },
      [&](QPainter& p) { alpha(p, fontFamily); },
      alert,
      busy,
  };
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  const double scale = std::min(icon.width() / kBoxWidth, icon.height() / kBoxHeight);
  for (int i = 0; i < 6; ++i) {
    painter.save();
    painter.translate(i * icon.width() + (icon.width() - kBoxWidth * scale) / 2,
                      (icon.height() - kBoxHeight * scale) / 2);
    painter.scale(scale, scale);
    QPen pen(ink, 1.3);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    icons[i](painter);
    painter.restore();
  }
  return image;
}

}  // namespace tavrel::painter
