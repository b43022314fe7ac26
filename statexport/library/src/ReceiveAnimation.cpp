#include "ReceiveAnimation.h"

#include <QPainter>
#include <QPainterPath>

namespace tavrel::statexport {

ReceiveAnimation::ReceiveAnimation(QWidget* parent) : QWidget(parent) {
  timer_.setInterval(kFrameMilliseconds);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFrameCount;
    update();
  });
}

void ReceiveAnimation::setPlaying(bool playing) {
  if (playing) {
    timer_.start();
  } else {
    timer_.stop();
    frame_ = 0;
  }
  update();
}

void ReceiveAnimation::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
  const QColor ink = palette().color(QPalette::WindowText);
  const QColor accent = palette().color(QPalette::Highlight);

  // The calculator on the left: a tall body with a screen and rows of keys.
  const qreal unit = std::min(area.width() / 9.0, area.height() / 4.0);
  const QRectF calculator(area.left(), area.center().y() - 2 * unit, 1.6 * unit, 4 * unit);
  painter.setPen(QPen(ink, 2));
  painter.setBrush(palette().color(QPalette::Button));
  painter.drawRoundedRect(calculator, 0.2 * unit, 0.2 * unit);
  painter.setBrush(palette().color(QPalette::Base));
  painter.drawRect(calculator.adjusted(0.2 * unit, 0.25 * unit, -0.2 * unit, -2.4 * unit));
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 3; ++column) {
      painter.drawEllipse(QPointF(calculator.left() + (0.4 + 0.4 * column) * unit,
                                  calculator.top() + (2.0 + 0.45 * row) * unit),
                          0.1 * unit, 0.1 * unit);
    }
  }

  // The computer on the right: a screen on a stand.
  const QRectF screen(area.right() - 3 * unit, area.center().y() - 1.6 * unit, 3 * unit,
                      2.2 * unit);
  painter.setPen(QPen(ink, 2));
  painter.setBrush(palette().color(QPalette::Base));
  painter.drawRoundedRect(screen, 0.15 * unit, 0.15 * unit);
  painter.drawLine(QPointF(screen.center().x(), screen.bottom()),
                   QPointF(screen.center().x(), screen.bottom() + 0.6 * unit));
  painter.drawLine(QPointF(screen.center().x() - 0.8 * unit, screen.bottom() + 0.6 * unit),
                   QPointF(screen.center().x() + 0.8 * unit, screen.bottom() + 0.6 * unit));

  // Dots travel along the cable, one step per frame, brightest at the front.
  const QPointF from(calculator.right() + 0.3 * unit, area.center().y());
  const QPointF to(screen.left() - 0.3 * unit, area.center().y());
  painter.setPen(Qt::NoPen);
  constexpr int kDots = 4;
  for (int dot = 0; dot < kDots; ++dot) {
    const int step = (frame_ + dot * kFrameCount / kDots) % kFrameCount;
    const qreal along = static_cast<qreal>(step) / (kFrameCount - 1);
    QColor colour = accent;
    colour.setAlphaF(0.35 + 0.65 * along);
    painter.setBrush(colour);
    painter.drawEllipse(from + (to - from) * along, 0.18 * unit, 0.18 * unit);
  }
}

}  // namespace tavrel::statexport
