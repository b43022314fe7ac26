#include "SkinPicture.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QXmlStreamReader>

#include "ServiceCommands.h"

namespace tavrel::info {
namespace {

void report(const QString& problem) {
  service::reportError("info", problem.toStdString());
}

// The "name" of the first "image" directly inside "floating_viewport"; empty when none.
QString windowedImageName(const QByteArray& skinXml) {
  QXmlStreamReader reader(skinXml);
  int viewportDepth = -1;
  int depth = 0;
  while (!reader.atEnd()) {
    const QXmlStreamReader::TokenType token = reader.readNext();
    if (token == QXmlStreamReader::StartElement) {
      ++depth;
      if (viewportDepth < 0 && reader.name() == QLatin1String("floating_viewport")) {
        viewportDepth = depth;
      } else if (viewportDepth >= 0 && depth == viewportDepth + 1 &&
                 reader.name() == QLatin1String("image")) {
        return reader.attributes().value(QLatin1String("name")).toString();
      }
    } else if (token == QXmlStreamReader::EndElement) {
      if (depth == viewportDepth) {
        return {};
      }
      --depth;
    }
  }
  return {};
}

}  // namespace

QImage readSkinPicture(const QString& folder) {
  const QDir skinFolder(folder);
  QFile skinFile(skinFolder.filePath(QStringLiteral("skin.xml")));
  if (!skinFile.open(QIODevice::ReadOnly)) {
    report(QStringLiteral("cannot read %1: %2").arg(skinFile.fileName(), skinFile.errorString()));
    return {};
  }
  if (skinFile.size() > kMaxSkinFileBytes) {
    report(QStringLiteral("%1 is too large").arg(skinFile.fileName()));
    return {};
  }
  const QString imageName = windowedImageName(skinFile.read(kMaxSkinFileBytes));
  if (imageName.isEmpty()) {
    report(QStringLiteral("%1 names no picture of the windowed view").arg(skinFile.fileName()));
    return {};
  }
  QImageReader reader(skinFolder.filePath(imageName));
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) {
    report(QStringLiteral("%1 is no picture of a usable size").arg(reader.fileName()));
    return {};
  }
  QImage picture = reader.read();
  if (picture.isNull()) {
    report(QStringLiteral("cannot read %1: %2").arg(reader.fileName(), reader.errorString()));
    return {};
  }
  if (picture.height() > kAboutPictureHeight) {
    picture = picture.scaledToHeight(kAboutPictureHeight, Qt::SmoothTransformation);
  }
  return picture;
}

}  // namespace tavrel::info
