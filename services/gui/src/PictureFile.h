#pragma once

#include <QImage>
#include <string>

namespace tavrel::gui {

// A picture of a skin; a null image, with one line on standard error naming the file and the
// reason, when it is missing, unreadable or larger than the service accepts.
QImage loadPicture(const std::u16string& path);

inline constexpr qint64 kMaxPictureFileBytes = 32 * 1024 * 1024;

}  // namespace tavrel::gui
