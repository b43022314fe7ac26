#pragma once

#include <QRect>
#include <array>
#include <vector>

#include "Layout.h"

namespace tavrel::painter {

// A key cap placed in window pixels; the cap is the key's clickable region.
struct PlacedKey {
  const KeySpec* spec = nullptr;
  QRect cap;
  // Room above the cap for the shifted and alpha labels (empty when the row has none).
  QRect labelBand;
};

// The six annunciator icons: where each is drawn, relative to the strip's top-left corner.
// In the picture they lie side by side in the same order, at (index * size.width(), 0).
struct IconStrip {
  QSize stripSize;
  QSize iconSize;
  std::array<QPoint, 6> iconOffsets{};
};

// The one place where window coordinates come from, so the pictures and skin.xml agree.
struct FaceGeometry {
  QSize window;
  int corner = 0;
  QRect brand;
  QRect bezel;
  QRect strip;
  QPoint lcdOrigin;
  int pixelSize = 0;
  QSize lcdPixels;
  IconStrip windowIcons;
  IconStrip fullscreenIcons;
  std::vector<PlacedKey> keys;

  QRect lcdRect() const {
    return QRect(lcdOrigin, QSize(lcdPixels.width() * pixelSize, lcdPixels.height() * pixelSize));
  }
};

// Throws std::runtime_error when the layout cannot be placed at its scale (a fractional LCD
// pixel, keys that touch, a display wider than the face).
FaceGeometry placeFace(const Layout& layout);

// Icons of the strip size, spread evenly across it.
IconStrip placeIcons(QSize stripSize);

}  // namespace tavrel::painter
