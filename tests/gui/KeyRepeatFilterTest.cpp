// A held key repeated as release/press pairs with one time stamp stays one key press.
#include <gtest/gtest.h>

#include <string>

#include "KeyRepeatFilter.h"

namespace tavrel::gui {
namespace {

TEST(KeyRepeatFilter, PairsWithOneTimeStampContinueTheHeldKey) {
  CKeyRepeatFilter filter;
  std::string delivered;
  EXPECT_FALSE(filter.pressed({50, 1000}));
  filter.released({50, 1030}, [&] { delivered += "up50 "; });
  EXPECT_TRUE(filter.pressed({50, 1030})) << "the window system's repeat";
  filter.released({50, 1060}, [&] { delivered += "up50 "; });
  EXPECT_TRUE(filter.pressed({50, 1060}));
  EXPECT_TRUE(delivered.empty());
  filter.released({50, 1200}, [&] { delivered += "up50 "; });
  EXPECT_TRUE(filter.holdsRelease());
  filter.flush();
  EXPECT_EQ(delivered, "up50 ") << "the real release goes out once";
  EXPECT_FALSE(filter.holdsRelease());
}

TEST(KeyRepeatFilter, OtherKeysAndUnknownTimesKeepTheirReleases) {
  CKeyRepeatFilter filter;
  std::string delivered;
  filter.released({50, 1000}, [&] { delivered += "up50 "; });
  EXPECT_FALSE(filter.pressed({51, 1000})) << "another key";
  EXPECT_EQ(delivered, "up50 ");
  filter.released({51, 1100}, [&] { delivered += "up51 "; });
  EXPECT_FALSE(filter.pressed({51, 1101})) << "a new press of the same key";
  EXPECT_EQ(delivered, "up50 up51 ");
  filter.released({52, 0}, [&] { delivered += "up52 "; });
  EXPECT_FALSE(filter.pressed({52, 0})) << "no time stamp: never taken for a repeat";
  EXPECT_EQ(delivered, "up50 up51 up52 ");
  filter.released({53, 5}, [&] { delivered += "up53 "; });
  filter.released({54, 6}, [&] { delivered += "up54 "; });
  EXPECT_EQ(delivered, "up50 up51 up52 up53 ") << "a second release sends the first";
}

}  // namespace
}  // namespace tavrel::gui
