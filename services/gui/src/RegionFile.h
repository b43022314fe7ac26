#pragma once

#include <QRegion>
#include <QSize>
#include <QString>

namespace tavrel::gui {

// Reads a window region file ("tavrel_region 1", "size W H", then "rect x y w h" lines) made
// for a window of that size. False with a message when the file is unreadable, too large,
// malformed, made for another size or has a rectangle outside it; region is then unchanged.
bool readRegionFile(const QString& path, QSize windowSize, QRegion& region, QString& error);

inline constexpr qint64 kMaxRegionFileBytes = 1024 * 1024;
inline constexpr int kMaxRegionRects = 65536;

}  // namespace tavrel::gui
