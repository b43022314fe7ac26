// skin-painter: paints a skin's pictures and writes its skin.xml from one layout file, so the
// pictures and the key regions always agree. Runs at build time.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "AnnunciatorPainter.h"
#include "FacePainter.h"
#include "Geometry.h"
#include "Layout.h"
#include "SkinXml.h"
#include "WindowRegion.h"

namespace {

using namespace tavrel::painter;

constexpr qint64 kMaxTemplateBytes = 1 << 20;

void save(const QString& path, const std::function<bool(QIODevice&)>& write) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !write(file) || !file.commit()) {
    throw std::runtime_error(path.toStdString() + ": cannot be written");
  }
}

void saveBytes(const QString& path, const QByteArray& bytes) {
  save(path, [&](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

void savePng(const QString& path, const QImage& image) {
  save(path, [&](QIODevice& file) { return image.save(&file, "PNG"); });
}

QString readTemplate(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTemplateBytes) {
    throw std::runtime_error(path.toStdString() + ": cannot be read (or is over 1 MiB)");
  }
  return QString::fromUtf8(file.readAll());
}

// Everything is made in memory first, so bad input leaves the output folder as it was.
void paintSkin(const QString& layoutPath, const QString& templatePath, const QString& outDir) {
  const Layout layout = readLayout(layoutPath);
  const FaceGeometry face = placeFace(layout);
  const QByteArray xml = skinXml(readTemplate(templatePath), layout, face);
  const QImage image = paintFace(layout, face);
  const QImage windowIcons =
      paintAnnunciators(face.windowIcons, layout.lcd.foreground, layout.font);
  const QImage fullscreenIcons =
      paintAnnunciators(face.fullscreenIcons, layout.lcd.foreground, layout.font);

  if (!QDir().mkpath(outDir)) {
    throw std::runtime_error(outDir.toStdString() + ": cannot be created");
  }
  const QDir out(outDir);
  savePng(out.filePath(kFaceImage), image);
  if (layout.rounded) {
    saveBytes(out.filePath(kRegionFile), regionFileText(face.window, windowRegion(image)));
  } else {
    QFile::remove(out.filePath(kRegionFile));
  }
  savePng(out.filePath(kWindowIcons), windowIcons);
  savePng(out.filePath(kFullscreenIcons), fullscreenIcons);
  saveBytes(out.filePath("skin.xml"), xml);
}

}  // namespace

int main(int argc, char** argv) {
  // Fonts need a GUI application, never a display: a build runs headless.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 4) {
    std::fprintf(stderr, "usage: skin-painter <layout.json> <skin.xml.in> <output folder>\n");
    return 2;
  }
  try {
    paintSkin(args[1], args[2], args[3]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "skin-painter: %s\n", error.what());
    return 1;
  }
  return 0;
}
