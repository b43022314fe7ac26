#pragma once

#include <QImage>
#include <QString>

namespace tavrel::info {

inline constexpr qint64 kMaxSkinFileBytes = 4 * 1024 * 1024;
inline constexpr int kMaxPictureSide = 8192;
inline constexpr int kAboutPictureHeight = 240;

// The picture of the skin in folder: the image of its windowed view as its skin.xml names
// it, scaled down to kAboutPictureHeight. A null image (and a line on standard error) when
// the skin file or the picture cannot be read or is too large.
QImage readSkinPicture(const QString& folder);

}  // namespace tavrel::info
