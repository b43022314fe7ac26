#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <optional>
#include <vector>

#include "DisplayPainter.h"
#include "tavrel/gui/Window.h"

namespace tavrel::gui {

// Everything one skin window shows, in window pixels, drawn bottom to top: the background
// colour, "SOLIDBG" elements, the skin picture, the overlay, pressed key regions, the display
// and its annunciators.
class CSkinScene {
 public:
  void setBackground(QColor colour) { background_ = colour; }
  void addSolidBackground(const SolidBackground& element);
  void setPicture(QImage picture) { picture_ = std::move(picture); }
  bool hasPicture() const { return !picture_.isNull(); }
  void setOverlay(QImage picture, QRect place);

  // Whether the drawing changed.
  bool setRegionPressed(const QRect& region, bool pressed);
  bool clearPressedRegions();

  // The display appears once it is attached, then shows every block given.
  void attachDisplay(const LCDSettings& lcd, const AnnounciatorSettings& announciators,
                     QImage icons);
  void setBlock(const DisplayBlock& block) { block_ = block; }
  // Window pixels the display and its strip cover; empty before attachDisplay.
  QRect displayArea() const;

  void paint(QPainter& painter, const QRect& area) const;

 private:
  struct Display {
    LCDSettings lcd;
    AnnounciatorSettings announciators;
    QImage icons;
  };

  void paintPressed(QPainter& painter, const QRect& region) const;

  QColor background_ = Qt::black;
  std::vector<SolidBackground> solids_;
  QImage picture_;
  QImage overlay_;
  QRect overlayPlace_;
  std::vector<QRect> pressed_;
  std::optional<Display> display_;
  DisplayBlock block_{};
};

}  // namespace tavrel::gui
