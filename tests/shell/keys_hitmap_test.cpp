#include <gtest/gtest.h>

#include <limits>

#include "keys/HitMap.h"
#include "keys/KeyRegion.h"

namespace tavrel {
namespace {

TEST(KeysHitMap, MarksExactlyTheRectangleWithoutItsRightAndBottomEdge) {
  CHitMap map;
  ASSERT_TRUE(map.resize(20, 10));
  ASSERT_TRUE(map.mark(3, 2, 9, 4));
  EXPECT_TRUE(map.isMarked(3, 2));
  EXPECT_TRUE(map.isMarked(11, 5));
  EXPECT_TRUE(map.isMarked(7, 3));  // crosses a byte boundary of the row
  EXPECT_FALSE(map.isMarked(12, 5));
  EXPECT_FALSE(map.isMarked(11, 6));
  EXPECT_FALSE(map.isMarked(2, 2));
  EXPECT_FALSE(map.isMarked(3, 1));
}

TEST(KeysHitMap, RefusesARectangleWhoseEdgeReachesTheMapBorder) {
  CHitMap map;
  ASSERT_TRUE(map.resize(16, 8));
  EXPECT_FALSE(map.mark(10, 0, 6, 2));  // right edge 16 == width
  EXPECT_FALSE(map.mark(0, 4, 2, 4));   // bottom edge 8 == height
  EXPECT_TRUE(map.mark(10, 4, 5, 3));   // edges 15 and 7 lie inside
  EXPECT_TRUE(map.isMarked(14, 6));
}

TEST(KeysHitMap, RefusesARectangleTouchingAMarkedPixelWithItsClosedEdge) {
  CHitMap map;
  ASSERT_TRUE(map.resize(32, 32));
  ASSERT_TRUE(map.mark(10, 10, 5, 5));  // marks 10..14
  // Its own pixels end at 9, but its closed right edge is column 10, a marked pixel.
  EXPECT_FALSE(map.mark(5, 10, 5, 5));
  EXPECT_FALSE(map.isMarked(5, 10));
  // Starting right after the marked pixels is fine.
  EXPECT_TRUE(map.mark(15, 10, 5, 5));
}

TEST(KeysHitMap, IgnoresNegativeAndHugeNumbersWithoutTouchingMemoryOutside) {
  CHitMap map;
  ASSERT_TRUE(map.resize(8, 8));
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  EXPECT_FALSE(map.mark(-1, 0, 2, 2));
  EXPECT_FALSE(map.mark(0, -3, 2, 2));
  EXPECT_FALSE(map.mark(0, 0, -2, 2));
  EXPECT_FALSE(map.mark(1, 1, kMax, 2));
  EXPECT_FALSE(map.mark(kMax, kMax, kMax, kMax));
  EXPECT_FALSE(map.isMarked(-1, -1));
  EXPECT_FALSE(map.isMarked(kMax, 0));
}

TEST(KeysHitMap, AnOversizedWindowGivesAnEmptyMap) {
  CHitMap map;
  ASSERT_TRUE(map.resize(4, 4));
  ASSERT_TRUE(map.mark(0, 0, 2, 2));
  EXPECT_FALSE(map.resize(CHitMap::kMaxSide + 1, 10));
  EXPECT_EQ(map.width(), 0);
  EXPECT_FALSE(map.isMarked(0, 0));
  EXPECT_FALSE(map.resize(-5, 10));
  EXPECT_FALSE(map.mark(0, 0, 1, 1));
}

TEST(KeysHitMap, ResizingClearsEveryMark) {
  CHitMap map;
  ASSERT_TRUE(map.resize(10, 10));
  ASSERT_TRUE(map.mark(1, 1, 3, 3));
  ASSERT_TRUE(map.resize(10, 10));
  EXPECT_FALSE(map.isMarked(2, 2));
}

TEST(KeysRegion, HoldsPointsOnBothEdges) {
  const KeyRegion region{10, 20, 30, 5, {}, {}};
  EXPECT_TRUE(region.contains(10, 20));
  EXPECT_TRUE(region.contains(40, 25));  // right and bottom edge included
  EXPECT_FALSE(region.contains(41, 25));
  EXPECT_FALSE(region.contains(40, 26));
  EXPECT_FALSE(region.contains(9, 22));
}

TEST(KeysRegion, HugeSizesDoNotWrapAround) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const KeyRegion region{kMax - 1, 0, kMax, 1, {}, {}};
  EXPECT_TRUE(region.contains(kMax, 1));
  EXPECT_FALSE(region.contains(0, 0));
}

}  // namespace
}  // namespace tavrel
