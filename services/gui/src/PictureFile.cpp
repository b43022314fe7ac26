#include "PictureFile.h"

#include <QFileInfo>
#include <QImageReader>
#include <cstdio>

namespace tavrel::gui {

QImage loadPicture(const std::u16string& path) {
  const QString name = QString::fromStdU16String(path);
  auto fail = [&](const QString& reason) {
    std::fprintf(stderr, "gui: cannot show the picture %s: %s\n", qPrintable(name),
                 qPrintable(reason));
    return QImage();
  };
  const QFileInfo info(name);
  if (!info.isFile()) {
    return fail(QStringLiteral("no such file"));
  }
  if (info.size() > kMaxPictureFileBytes) {
    return fail(QStringLiteral("larger than %1 bytes").arg(kMaxPictureFileBytes));
  }
  QImageReader reader(name);
  reader.setAllocationLimit(256);  // megabytes of decoded pixels
  QImage image = reader.read();
  if (image.isNull()) {
    return fail(reader.errorString());
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace tavrel::gui
