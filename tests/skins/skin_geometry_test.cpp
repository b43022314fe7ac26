// The painted pictures and the regions of skin.xml agree: every key lies on the face, inside
// the hit map and apart from every other key; the display fits the face.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "skin_model.h"

namespace tavrel::skintest {
namespace {

class SkinGeometryTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    folder = builtSkinDir(GetParam());
    skin = readSkin(folder + "/skin.xml");
    ASSERT_TRUE(skin.parseError.isEmpty()) << skin.parseError.toStdString();
    face = QImage(folder + "/" + skin.floating.image);
    ASSERT_FALSE(face.isNull()) << "the face picture cannot be read";
    face = face.convertToFormat(QImage::Format_ARGB32);
  }

  bool opaque(QPoint point) const {
    return face.rect().contains(point) && qAlpha(face.pixel(point)) == 255;
  }

  QString folder;
  SkinModel skin;
  QImage face;
};

// The closed rectangle the hit map tests for overlap: both edges included.
QRect closed(const QRect& rect) {
  return rect.adjusted(0, 0, 1, 1);
}

TEST_P(SkinGeometryTest, FaceHasTheWindowSize) {
  EXPECT_EQ(face.size(), skin.floating.window);
}

TEST_P(SkinGeometryTest, EveryRegionFitsTheHitMapAndLiesOnTheFace) {
  const QSize window = skin.floating.window;
  ASSERT_FALSE(skin.regions.empty());
  for (const KeyRegionEntry& region : skin.regions) {
    const QRect& r = region.rect;
    SCOPED_TRACE(region.name.toStdString());
    EXPECT_GE(r.left(), 0);
    EXPECT_GE(r.top(), 0);
    EXPECT_GT(r.width(), 0);
    EXPECT_GT(r.height(), 0);
    // The hit map marks a region only when its right and bottom edges are inside the map.
    EXPECT_LT(r.x() + r.width(), window.width());
    EXPECT_LT(r.y() + r.height(), window.height());
    for (const QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(),
                                QPoint(r.x() + r.width(), r.y() + r.height())}) {
      EXPECT_TRUE(opaque(corner)) << "corner " << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(region.painter, "pressViewportRegion");
  }
}

TEST_P(SkinGeometryTest, NoTwoRegionsTouch) {
  for (std::size_t i = 0; i < skin.regions.size(); ++i) {
    for (std::size_t j = i + 1; j < skin.regions.size(); ++j) {
      EXPECT_FALSE(closed(skin.regions[i].rect).intersects(closed(skin.regions[j].rect)))
          << skin.regions[i].name.toStdString() << " and " << skin.regions[j].name.toStdString();
    }
  }
}

TEST_P(SkinGeometryTest, DisplayAndAnnunciatorStripFitTheFaceAboveTheKeys) {
  const ViewEntry& view = skin.floating;
  ASSERT_EQ(view.lcdSize, QSize(131, 64));
  ASSERT_GT(view.pixelSize, 0);
  const QRect lcd(view.lcdOffset, view.lcdSize * view.pixelSize);
  const QRect strip(view.stripOffset, view.stripSize);
  const QRect faceRect(QPoint(), view.window);
  EXPECT_TRUE(faceRect.contains(lcd));
  EXPECT_TRUE(faceRect.contains(strip));
  EXPECT_TRUE(opaque(lcd.topLeft()) && opaque(lcd.bottomRight()));
  // The strip sits right above the pixels, as wide as they are.
  EXPECT_EQ(strip.bottom() + 1, lcd.top());
  EXPECT_EQ(strip.width(), lcd.width());
  for (const KeyRegionEntry& region : skin.regions) {
    EXPECT_FALSE(closed(region.rect).intersects(lcd.united(strip))) << region.name.toStdString();
  }
}

TEST_P(SkinGeometryTest, IconsLieInsideTheirStripAndTheirPicture) {
  for (const ViewEntry* view : {&skin.floating, &skin.fullscreen}) {
    const QImage icons(folder + "/" + view->stripImage);
    ASSERT_FALSE(icons.isNull()) << view->stripImage.toStdString();
    ASSERT_EQ(view->icons.size(), 6u);
    for (const auto& [index, icon] : view->icons) {
      SCOPED_TRACE(index);
      EXPECT_TRUE(QRect(QPoint(), view->stripSize).contains(QRect(icon.iconOffset, icon.size)));
      EXPECT_TRUE(icons.rect().contains(QRect(icon.imageOffset, icon.size)));
    }
  }
  // The shell centres the fullscreen strip with the width of the pixels.
  EXPECT_EQ(skin.fullscreen.stripSize.width(),
            skin.fullscreen.lcdSize.width() * skin.fullscreen.pixelSize);
}

TEST_P(SkinGeometryTest, FullscreenDisplayFitsASmallScreen) {
  const ViewEntry& full = skin.fullscreen;
  EXPECT_LE(full.lcdSize.width() * full.pixelSize, 1024);
  EXPECT_LE(full.lcdSize.height() * full.pixelSize + full.stripSize.height(), 768);
}

TEST_P(SkinGeometryTest, RegionFileCoversExactlyTheOpaquePixels) {
  if (skin.floating.region.isEmpty()) {
    // A rectangular window: every pixel of the face is shown.
    for (const QPoint p : {QPoint(0, 0), QPoint(face.width() - 1, face.height() - 1)}) {
      EXPECT_TRUE(opaque(p));
    }
    return;
  }
  QFile file(folder + "/" + skin.floating.region);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[0], "tavrel_region 1");
  EXPECT_EQ(lines[1],
            "size " + QByteArray::number(face.width()) + " " + QByteArray::number(face.height()));
  QImage covered(face.size(), QImage::Format_Mono);
  covered.fill(0);
  for (qsizetype i = 2; i < lines.size(); ++i) {
    if (lines[i].isEmpty()) {
      continue;
    }
    const QList<QByteArray> field = lines[i].split(' ');
    ASSERT_EQ(field.size(), 5) << lines[i].toStdString();
    ASSERT_EQ(field[0], "rect");
    const QRect rect(field[1].toInt(), field[2].toInt(), field[3].toInt(), field[4].toInt());
    ASSERT_TRUE(face.rect().contains(rect)) << lines[i].toStdString();
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      for (int x = rect.left(); x <= rect.right(); ++x) {
        ASSERT_EQ(covered.pixelIndex(x, y), 0) << "rectangles overlap at " << x << "," << y;
        covered.setPixel(x, y, 1);
      }
    }
  }
  for (int y = 0; y < face.height(); ++y) {
    for (int x = 0; x < face.width(); ++x) {
      ASSERT_EQ(covered.pixelIndex(x, y) == 1, opaque(QPoint(x, y))) << x << "," << y;
    }
  }
  // The corners are cut off: the window really is shaped.
  EXPECT_FALSE(opaque(QPoint(0, 0)));
}

INSTANTIATE_TEST_SUITE_P(BuiltSkins, SkinGeometryTest, ::testing::Values("demo", "large"));

}  // namespace
}  // namespace tavrel::skintest
