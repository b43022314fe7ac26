#include "DisplayPainter.h"

#include <algorithm>

namespace tavrel::gui {
namespace {

// The calculator pixels a skin may show: never more than the block holds.
QSize shownPixels(const LCDSettings& lcd) {
  return {std::clamp(lcd.width, 0, kLcdColumns), std::clamp(lcd.height, 0, kLcdRows)};
}

int pixelSizeOf(const LCDSettings& lcd) {
  return std::clamp(lcd.pixelSize, 1, 64);
}

}  // namespace

bool lcdPixel(const DisplayBlock& block, int x, int y) {
  return ((block[static_cast<std::size_t>(y * kLcdLineBytes + x / 8)] >> (x % 8)) & 1) != 0;
}

bool annunciatorOn(const DisplayBlock& block, int index) {
  return (block[static_cast<std::size_t>(index * kLcdLineBytes + 16)] & 0x08) != 0;
}

QRect displayRect(const LCDSettings& lcd) {
  const QSize pixels = shownPixels(lcd);
  const int size = pixelSizeOf(lcd);
  return {lcd.offsetX, lcd.offsetY, pixels.width() * size, pixels.height() * size};
}

QRect stripRect(const AnnounciatorSettings& announciators) {
  QRect strip(announciators.offsetX, announciators.offsetY, announciators.width,
              announciators.height);
  for (int i = 0; i < AnnounciatorSettings::kIconCount; ++i) {
    strip |= QRect(announciators.offsetX + announciators.iconOffsets[i].x,
                   announciators.offsetY + announciators.iconOffsets[i].y,
                   announciators.iconSizes[i].width, announciators.iconSizes[i].height);
  }
  return strip;
}

void paintDisplay(QPainter& painter, const DisplayBlock& block, const LCDSettings& lcd,
                  const AnnounciatorSettings& announciators, const QImage& icons) {
  const QSize pixels = shownPixels(lcd);
  if (!pixels.isEmpty()) {
    const QRgb on = qRgb(lcd.foregroundRed, lcd.foregroundGreen, lcd.foregroundBlue);
    const QRgb off = qRgb(lcd.backgroundRed, lcd.backgroundGreen, lcd.backgroundBlue);
    QImage image(pixels, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < pixels.width(); ++x) {
        line[x] = lcdPixel(block, x, y) ? on : off;
      }
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(displayRect(lcd), image);
    painter.restore();
  }
  if (icons.isNull()) {
    return;
  }
  for (int i = 0; i < AnnounciatorSettings::kIconCount; ++i) {
    const IconSize size = announciators.iconSizes[i];
    if (!annunciatorOn(block, i) || size.width <= 0 || size.height <= 0) {
      continue;
    }
    const QRect source(announciators.imageOffsets[i].x, announciators.imageOffsets[i].y, size.width,
                       size.height);
    const QPoint target(announciators.offsetX + announciators.iconOffsets[i].x,
                        announciators.offsetY + announciators.iconOffsets[i].y);
    painter.drawImage(target, icons, source & icons.rect());
  }
}

}  // namespace tavrel::gui
