// The window region file that the skin painter writes: read, and refused when it is not
// sound.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "GuiEnvironment.h"
#include "RegionFile.h"

namespace tavrel::gui {
namespace {

class RegionFileTest : public ::testing::Test {
 protected:
  QString write(const QByteArray& text) {
    const QString path = folder.filePath("shape.rgn");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    return path;
  }
  bool read(const QByteArray& text, QSize size = {10, 8}) {
    return readRegionFile(write(text), size, region, error);
  }

  QTemporaryDir folder;
  QRegion region{0, 0, 1, 1};
  QString error;
};

TEST_F(RegionFileTest, DemoSkinsShapeIsTheUnionOfItsRectangles) {
  ASSERT_TRUE(readRegionFile(QString::fromStdU16String(test::demoFile("face.rgn")), {330, 624},
                             region, error))
      << error.toStdString();
  EXPECT_FALSE(region.contains(QPoint(0, 0)));
  EXPECT_TRUE(region.contains(QPoint(21, 0)));
  EXPECT_TRUE(region.contains(QPoint(165, 600)));
  EXPECT_EQ(region.boundingRect(), QRect(0, 0, 330, 624));
}

TEST_F(RegionFileTest, SmallFileIsRead) {
  ASSERT_TRUE(read("tavrel_region 1\nsize 10 8\nrect 0 0 10 4\nrect 2 4 6 4\n"));
  EXPECT_TRUE(region.contains(QPoint(9, 3)));
  EXPECT_FALSE(region.contains(QPoint(9, 5)));
  EXPECT_TRUE(region.contains(QPoint(7, 7)));
}

TEST_F(RegionFileTest, UnsoundFilesAreRefusedAndChangeNothing) {
  const QRegion before = region;
  const QByteArray bad[] = {
      "",
      "tavrel_region 2\nsize 10 8\nrect 0 0 1 1\n",
      "tavrel_region 1\nsize 10\nrect 0 0 1 1\n",
      "tavrel_region 1\nsize 10 9\nrect 0 0 1 1\n",  // made for another window
      "tavrel_region 1\nsize 10 8\nrect 5 5 6 1\n",  // sticks out
      "tavrel_region 1\nsize 10 8\nrect -1 0 2 2\n",
      "tavrel_region 1\nsize 10 8\nrect 0 0 0 3\n",
      "tavrel_region 1\nsize 10 8\nrect 0 0 x 3\n",
      "tavrel_region 1\nsize 10 8\nrect 0 0 2 2 7\n",
      "tavrel_region 1\nsize 10 8\n",
  };
  for (const QByteArray& text : bad) {
    error.clear();
    EXPECT_FALSE(read(text)) << text.toStdString();
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(region, before);
  }
  EXPECT_FALSE(readRegionFile(folder.filePath("missing.rgn"), {10, 8}, region, error));
}

TEST_F(RegionFileTest, OversizedFileIsRefusedUnread) {
  QByteArray text = "tavrel_region 1\nsize 10 8\n";
  while (text.size() <= kMaxRegionFileBytes) {
    text += "rect 0 0 1 1\n";
  }
  EXPECT_FALSE(read(text));
  EXPECT_TRUE(error.contains("larger"));
}

}  // namespace
}  // namespace tavrel::gui
