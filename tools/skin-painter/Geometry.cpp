#include "Geometry.h"

#include <cmath>
#include <stdexcept>

namespace tavrel::painter {
namespace {

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error("layout: " + what);
}

class Scaler {
 public:
  explicit Scaler(double scale) : scale_(scale) {}
  int operator()(double units) const { return static_cast<int>(std::lround(units * scale_)); }
  double exact(double units) const { return units * scale_; }

 private:
  double scale_;
};

}  // namespace

IconStrip placeIcons(QSize stripSize) {
  IconStrip icons;
  icons.stripSize = stripSize;
  const int height = std::max(4, stripSize.height() - 2);
  const int width = std::min(static_cast<int>(std::lround(height * 1.6)), stripSize.width() / 6);
  icons.iconSize = QSize(width, height);
  const double slot = stripSize.width() / 6.0;
  for (int i = 0; i < 6; ++i) {
    icons.iconOffsets[i] = QPoint(static_cast<int>(std::lround(i * slot + (slot - width) / 2)),
                                  (stripSize.height() - height) / 2);
  }
  return icons;
}

FaceGeometry placeFace(const Layout& layout) {
  const Scaler s(layout.scale);
  FaceGeometry face;
  face.corner = s(layout.corner);

  const double pixel = s.exact(layout.lcd.pixelSize);
  if (std::abs(pixel - std::round(pixel)) > 1e-9) {
    fail("the LCD pixel size times the scale must be a whole number");
  }
  face.pixelSize = static_cast<int>(std::lround(pixel));
  face.lcdPixels = QSize(layout.lcd.columns, layout.lcd.rows);
  const int width = s(layout.width);
  const int bezel = s(layout.lcd.bezel);
  const int lcdWidth = layout.lcd.columns * face.pixelSize;
  const int bezelWidth = lcdWidth + 2 * bezel;
  if (bezelWidth > width) {
    fail("the display is wider than the face");
  }
  face.bezel = QRect((width - bezelWidth) / 2, s(layout.lcd.top), bezelWidth,
                     2 * bezel + s(layout.lcd.strip) + layout.lcd.rows * face.pixelSize);
  face.strip =
      QRect(face.bezel.left() + bezel, face.bezel.top() + bezel, lcdWidth, s(layout.lcd.strip));
  face.lcdOrigin = QPoint(face.strip.left(), face.strip.bottom() + 1);
  face.brand = QRect(0, 0, width, face.bezel.top());
  face.windowIcons = placeIcons(face.strip.size());
  face.fullscreenIcons =
      placeIcons(QSize(layout.lcd.columns * layout.fullscreen.pixelSize, layout.fullscreen.strip));

  const double side = s.exact(layout.keyboardSide);
  const double gap = s.exact(layout.keyGap);
  int rowTop = s(layout.keyboardTop);
  if (rowTop <= face.bezel.bottom()) {
    fail("the keyboard starts inside the display");
  }
  for (const KeyRow& row : layout.rows) {
    const int band = s(row.labelBand);
    const int capHeight = s(row.keyHeight);
    const double pitch = (width - 2 * side) / row.columns;
    for (int column = 0; column < row.columns; ++column) {
      const KeySpec& key = row.cells[column];
      if (key.isHole()) {
        continue;
      }
      const int left = static_cast<int>(std::lround(side + column * pitch + gap / 2));
      const int right = static_cast<int>(std::lround(side + (column + 1) * pitch - gap / 2));
      face.keys.push_back(PlacedKey{&key, QRect(left, rowTop + band, right - left, capHeight),
                                    QRect(left, rowTop, right - left, band)});
    }
    rowTop += band + capHeight + s(row.gapBelow);
  }
  for (const Button& button : layout.buttons) {
    face.keys.push_back(PlacedKey{
        &button.key, QRect(s(button.x), s(button.y), s(button.width), s(button.height)), QRect()});
  }
  face.window = QSize(width, rowTop + s(layout.bottomMargin));
  return face;
}

}  // namespace tavrel::painter
