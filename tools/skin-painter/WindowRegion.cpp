#include "WindowRegion.h"

#include <utility>

namespace tavrel::painter {
namespace {

using Runs = std::vector<std::pair<int, int>>;  // [start, end) of opaque pixels

Runs opaqueRuns(const QImage& image, int y) {
  Runs runs;
  const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
  int x = 0;
  while (x < image.width()) {
    while (x < image.width() && qAlpha(pixels[x]) == 0) {
      ++x;
    }
    const int start = x;
    while (x < image.width() && qAlpha(pixels[x]) != 0) {
      ++x;
    }
    if (x > start) {
      runs.emplace_back(start, x);
    }
  }
  return runs;
}

}  // namespace

std::vector<QRect> windowRegion(const QImage& face) {
  const QImage image = face.convertToFormat(QImage::Format_ARGB32);
  std::vector<QRect> rects;
  int bandTop = 0;
  Runs band = image.height() > 0 ? opaqueRuns(image, 0) : Runs{};
  for (int y = 1; y <= image.height(); ++y) {
    Runs row = y < image.height() ? opaqueRuns(image, y) : Runs{};
    if (y == image.height() || row != band) {
      for (const auto& [start, end] : band) {
        rects.emplace_back(start, bandTop, end - start, y - bandTop);
      }
      band = std::move(row);
      bandTop = y;
    }
  }
  return rects;
}

QByteArray regionFileText(QSize window, const std::vector<QRect>& rects) {
  QByteArray text = "tavrel_region 1\n";
  text += "size " + QByteArray::number(window.width()) + " " + QByteArray::number(window.height()) +
          "\n";
  for (const QRect& rect : rects) {
    text += "rect " + QByteArray::number(rect.x()) + " " + QByteArray::number(rect.y()) + " " +
            QByteArray::number(rect.width()) + " " + QByteArray::number(rect.height()) + "\n";
  }
  return text;
}

}  // namespace tavrel::painter
