#include "SkinScene.h"

#include <algorithm>

namespace tavrel::gui {

void CSkinScene::addSolidBackground(const SolidBackground& element) {
  solids_.push_back(element);
}

void CSkinScene::setOverlay(QImage picture, QRect place) {
  overlay_ = std::move(picture);
  overlayPlace_ = place;
}

bool CSkinScene::setRegionPressed(const QRect& region, bool pressed) {
  const auto found = std::find(pressed_.begin(), pressed_.end(), region);
  if (pressed == (found != pressed_.end())) {
    return false;
  }
  if (pressed) {
    pressed_.push_back(region);
  } else {
    pressed_.erase(found);
  }
  return true;
}

bool CSkinScene::clearPressedRegions() {
  const bool any = !pressed_.empty();
  pressed_.clear();
  return any;
}

void CSkinScene::attachDisplay(const LCDSettings& lcd, const AnnounciatorSettings& announciators,
                               QImage icons) {
  display_ = Display{lcd, announciators, std::move(icons)};
}

QRect CSkinScene::displayArea() const {
  if (!display_) {
    return {};
  }
  return displayRect(display_->lcd) | stripRect(display_->announciators);
}

void CSkinScene::paint(QPainter& painter, const QRect& area) const {
  painter.fillRect(area, background_);
  for (const SolidBackground& solid : solids_) {
    painter.fillRect(QRect(solid.x, solid.y, solid.width, solid.height),
                     QColor(solid.red, solid.green, solid.blue));
  }
  if (!picture_.isNull()) {
    painter.drawImage(QPoint(0, 0), picture_);
  }
  if (!overlay_.isNull()) {
    painter.drawImage(
        overlayPlace_.isEmpty() ? QRect(overlayPlace_.topLeft(), overlay_.size()) : overlayPlace_,
        overlay_);
  }
  for (const QRect& region : pressed_) {
    if (region.intersects(area)) {
      paintPressed(painter, region);
    }
  }
  if (display_) {
    if (display_->announciators.width > 0 || display_->announciators.height > 0) {
      // The strip shows only lit icons: clear it first, in the display's background colour.
      const LCDSettings& lcd = display_->lcd;
      painter.fillRect(QRect(display_->announciators.offsetX, display_->announciators.offsetY,
                             display_->announciators.width, display_->announciators.height),
                       QColor(lcd.backgroundRed, lcd.backgroundGreen, lcd.backgroundBlue));
    }
    paintDisplay(painter, block_, display_->lcd, display_->announciators, display_->icons);
  }
}

// A pressed cap: the picture pushed one pixel down and right, and shaded.
void CSkinScene::paintPressed(QPainter& painter, const QRect& region) const {
  painter.save();
  painter.setClipRect(region);
  if (!picture_.isNull()) {
    painter.drawImage(region.topLeft() + QPoint(1, 1), picture_, region);
  }
  painter.fillRect(region, QColor(0, 0, 0, 80));
  painter.restore();
}

}  // namespace tavrel::gui
