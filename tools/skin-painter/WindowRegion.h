#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <vector>

namespace tavrel::painter {

// The window's shape as rectangles whose union is every opaque pixel of the face. Rows with the
// same runs of opaque pixels share one rectangle.
std::vector<QRect> windowRegion(const QImage& face);

// The region file: "tavrel_region 1", "size <width> <height>", then one "rect x y w h" a line.
QByteArray regionFileText(QSize window, const std::vector<QRect>& rects);

}  // namespace tavrel::painter
