#include "FacePainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tavrel::painter {
namespace {

// Alpha at or above this is inside the window.
constexpr int kInsideAlpha = 128;

QFont fontOf(const Layout& layout, double pixelSize, bool bold) {
  QFont font(layout.font);
  font.setPixelSize(std::max(6, static_cast<int>(pixelSize)));
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

// Shrinks the font until the text fits the width.
QFont fitted(QFont font, const QString& text, double width) {
  while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > width) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  return font;
}

QPainterPath bodyPath(const FaceGeometry& face) {
  QPainterPath path;
  path.addRoundedRect(QRectF(0, 0, face.window.width(), face.window.height()), face.corner,
                      face.corner);
  return path;
}

void paintBody(QPainter& painter, const Layout& layout, const FaceGeometry& face) {
  QLinearGradient gradient(0, 0, 0, face.window.height());
  gradient.setColorAt(0, layout.bodyTop);
  gradient.setColorAt(1, layout.bodyBottom);
  painter.fillPath(bodyPath(face), gradient);
  const double line = std::max(1.0, layout.scale);
  painter.setPen(QPen(layout.bodyEdge, line * 1.5));
  const double inset = line;
  painter.drawRoundedRect(
      QRectF(inset, inset, face.window.width() - 2 * inset, face.window.height() - 2 * inset),
      face.corner - inset, face.corner - inset);
  painter.setPen(QPen(QColor(255, 255, 255, 28), line));
  const double inner = 3 * line;
  painter.drawRoundedRect(
      QRectF(inner, inner, face.window.width() - 2 * inner, face.window.height() - 2 * inner),
      face.corner - inner, face.corner - inner);
}

void paintBrand(QPainter& painter, const Layout& layout, const FaceGeometry& face) {
  if (layout.brand.isEmpty()) {
    return;
  }
  QFont font = fontOf(layout, face.brand.height() * 0.42, true);
  font.setLetterSpacing(QFont::PercentageSpacing, 130);
  painter.setFont(font);
  painter.setPen(layout.brandColour);
  painter.drawText(face.brand, Qt::AlignCenter, layout.brand);
}

void paintDisplay(QPainter& painter, const Layout& layout, const FaceGeometry& face) {
  const double radius = 4 * layout.scale;
  painter.setPen(Qt::NoPen);
  painter.setBrush(layout.lcd.frame);
  painter.drawRoundedRect(face.bezel, radius * 2, radius * 2);
  const QRect screen = face.strip.united(face.lcdRect()).adjusted(-2, -2, 2, 2);
  painter.setBrush(layout.lcd.background);
  painter.drawRoundedRect(screen, radius, radius);
  // A faint shadow along the top edge gives the glass some depth.
  QLinearGradient shade(0, screen.top(), 0, screen.top() + 6 * layout.scale);
  shade.setColorAt(0, QColor(0, 0, 0, 60));
  shade.setColorAt(1, QColor(0, 0, 0, 0));
  painter.setBrush(shade);
  painter.drawRoundedRect(screen, radius, radius);
}

void paintLabelBand(QPainter& painter, const Layout& layout, const PlacedKey& key) {
  if (key.labelBand.isEmpty()) {
    return;
  }
  const KeySpec& spec = *key.spec;
  const QRectF band = QRectF(key.labelBand).adjusted(0, 0, 0, -1 * layout.scale);
  const double half = band.width() / (spec.alpha.isEmpty() ? 1.0 : 1.6);
  if (!spec.shifted.isEmpty()) {
    painter.setFont(fitted(fontOf(layout, band.height() * 0.85, true), spec.shifted, half));
    painter.setPen(layout.shiftColour);
    const int align = spec.alpha.isEmpty() ? Qt::AlignHCenter : Qt::AlignLeft;
    painter.drawText(band, align | Qt::AlignBottom, spec.shifted);
  }
  if (!spec.alpha.isEmpty()) {
    painter.setFont(fontOf(layout, band.height() * 0.85, true));
    painter.setPen(layout.alphaColour);
    painter.drawText(band, Qt::AlignRight | Qt::AlignBottom, spec.alpha);
  }
}

void paintKey(QPainter& painter, const Layout& layout, const PlacedKey& key) {
  const KeySpec& spec = *key.spec;
  const KeyStyle& style = layout.styles.at(spec.style);
  const QRectF cap(key.cap);
  const double radius = std::min(cap.height() / 4, 5 * layout.scale);
  const double drop = 1.5 * layout.scale;

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 110));
  painter.drawRoundedRect(cap.translated(0, drop), radius, radius);

  QLinearGradient gradient(0, cap.top(), 0, cap.bottom());
  gradient.setColorAt(0, style.face.lighter(128));
  gradient.setColorAt(0.45, style.face);
  gradient.setColorAt(1, style.face.darker(118));
  painter.setBrush(gradient);
  painter.setPen(QPen(style.face.darker(170), std::max(1.0, layout.scale * 0.8)));
  painter.drawRoundedRect(cap.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

  painter.setFont(fitted(fontOf(layout, cap.height() * 0.48, true), spec.label,
                         cap.width() - 6 * layout.scale));
  painter.setPen(style.text);
  painter.drawText(cap, Qt::AlignCenter, spec.label);
  paintLabelBand(painter, layout, key);
}

// Opaque inside the body, transparent outside: the shape of a rounded window.
void cutOutShape(QImage& image, const FaceGeometry& face) {
  QImage coverage(image.size(), QImage::Format_ARGB32);
  coverage.fill(Qt::transparent);
  {
    QPainter painter(&coverage);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(bodyPath(face), Qt::white);
  }
  for (int y = 0; y < image.height(); ++y) {
    const auto* mask = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
    auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      pixels[x] = qAlpha(mask[x]) >= kInsideAlpha ? (pixels[x] | 0xFF000000u) : 0u;
    }
  }
}

}  // namespace

QImage paintFace(const Layout& layout, const FaceGeometry& face) {
  QImage image(face.window, QImage::Format_ARGB32);
  image.fill(layout.backdrop);
  {
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    paintBody(painter, layout, face);
    paintBrand(painter, layout, face);
    paintDisplay(painter, layout, face);
    for (const PlacedKey& key : face.keys) {
      paintKey(painter, layout, key);
    }
  }
  if (layout.rounded) {
    cutOutShape(image, face);
  }
  return image;
}

}  // namespace tavrel::painter
