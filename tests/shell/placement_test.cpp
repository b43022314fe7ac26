#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <limits>

#include "display/Placement.h"
#include "skin/SkinPosition.h"

namespace tavrel {
namespace {

gui::LCDSettings display(std::int32_t width, std::int32_t height, std::int32_t pixel) {
  gui::LCDSettings lcd;
  lcd.width = width;
  lcd.height = height;
  lcd.pixelSize = pixel;
  return lcd;
}

TEST(PlacementFullscreen, CentresStripAndDisplayAsOneBlockOn1024x768) {
  gui::LCDSettings lcd = display(131, 64, 5);
  lcd.offsetX = 7;  // the file's offsets do not matter
  gui::AnnounciatorSettings strip;
  strip.height = 10;
  strip.offsetX = 3;
  placeFullscreen(lcd, strip, 1024, 768);
  EXPECT_EQ(lcd.offsetX, 185);
  EXPECT_EQ(lcd.offsetY, 229);
  EXPECT_EQ(strip.offsetX, 185);
  EXPECT_EQ(strip.offsetY, 219);
  EXPECT_EQ(strip.width, 655);
  EXPECT_EQ(strip.height, 10);
}

TEST(PlacementFullscreen, HalvesEachTermOnItsOwn) {
  // 1024/2 - 655/2 = 512 - 327, one more than (1024 - 655)/2; an odd strip height loses
  // its half pixel on both sides.
  gui::LCDSettings lcd = display(131, 1, 5);
  gui::AnnounciatorSettings strip;
  strip.height = 7;
  placeFullscreen(lcd, strip, 1024, 11);
  EXPECT_EQ(lcd.offsetX, 185);
  EXPECT_EQ(lcd.offsetY, 5 - 2 + 3);
  EXPECT_EQ(strip.offsetY, 5 - 2 - 3);
}

TEST(PlacementFullscreen, ADisplayLargerThanTheScreenWrapsToANegativeOffset) {
  gui::LCDSettings lcd = display(400, 300, 4);
  gui::AnnounciatorSettings strip;
  placeFullscreen(lcd, strip, 1024, 768);
  EXPECT_EQ(lcd.offsetX, 512 - 800);
  EXPECT_EQ(lcd.offsetY, 384 - 600);
}

TEST(PlacementDisplayHit, IncludesTheRightAndBottomEdges) {
  gui::LCDSettings lcd = display(131, 64, 2);
  lcd.offsetX = 10;
  lcd.offsetY = 20;
  EXPECT_TRUE(isOnDisplay(lcd, 10, 20));
  EXPECT_TRUE(isOnDisplay(lcd, 272, 148));
  EXPECT_FALSE(isOnDisplay(lcd, 273, 100));
  EXPECT_FALSE(isOnDisplay(lcd, 100, 149));
  EXPECT_FALSE(isOnDisplay(lcd, 9, 20));
}

TEST(PlacementDisplayHit, HugeSizesDoNotOverflow) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  gui::LCDSettings lcd = display(kMax, kMax, kMax);
  lcd.offsetX = kMax;
  EXPECT_TRUE(isOnDisplay(lcd, kMax, 5));
  EXPECT_FALSE(isOnDisplay(lcd, 0, 5));
}

TEST(PlacementWindowPosition, NegativeHalvesSurviveTheStore) {
  const std::filesystem::path store =
      std::filesystem::temp_directory_path() / ("tavrel-pos-" + std::to_string(getpid()));
  std::filesystem::remove(store);
  {
    CRegistry registry(store.u16string(), u"");
    EXPECT_EQ(readSkinPosition(registry, u"Blue Skin"), (WindowPosition{0, 0}));
    writeSkinPosition(registry, u"Blue Skin", WindowPosition{-5, -20});
    EXPECT_EQ(registry.readNumber64(u"skins\\Blue Skin", u"Pos"),
              (std::uint64_t{0xFFFFFFFBu} << 32) | 0xFFFFFFECu);
  }
  CRegistry reopened(store.u16string(), u"");
  EXPECT_EQ(readSkinPosition(reopened, u"Blue Skin"), (WindowPosition{-5, -20}));
  std::filesystem::remove(store);
}

}  // namespace
}  // namespace tavrel
