// Reading nibbles: order within bytes and fields, and what lies beyond the end.
#include <gtest/gtest.h>

#include <limits>

#include "tavrel/statexport/NibbleStream.h"

namespace tavrel::statexport {
namespace {

const std::uint8_t kBytes[] = {0x21, 0x43, 0x65, 0x87, 0xA9};

TEST(NibbleStream, FieldsReadFirstNibbleLeastSignificant) {
  const NibbleStream stream(kBytes, sizeof kBytes);
  EXPECT_EQ(stream.end(), 10u);
  EXPECT_EQ(stream.readNibbles5(0), 0x54321u);
  EXPECT_EQ(stream.readNibbles5(1), 0x65432u);
  EXPECT_EQ(stream.readNibbles2(3), 0x54u);
  EXPECT_EQ(stream.readLittle(2, 6), 0x876543u);
}

TEST(NibbleStream, NibblesAtOrBeyondTheEndReadAsZero) {
  const NibbleStream stream(kBytes, sizeof kBytes);
  EXPECT_EQ(stream.readNibbles5(8), 0x000A9u);
  EXPECT_EQ(stream.readNibbles5(10), 0u);
  constexpr std::size_t kTop = std::numeric_limits<std::size_t>::max();
  EXPECT_EQ(stream.readNibbles5(kTop - 2), 0u);
  EXPECT_EQ(stream.readNibbles5(kTop), 0u);
  const NibbleStream none(nullptr, 100);
  EXPECT_EQ(none.end(), 0u);
  EXPECT_EQ(none.readNibbles5(0), 0u);
}

TEST(NibbleStream, FitsRejectsRunsPastTheEndWithoutOverflow) {
  const NibbleStream stream(kBytes, sizeof kBytes);
  EXPECT_TRUE(stream.fits(5, 5));
  EXPECT_FALSE(stream.fits(6, 5));
  EXPECT_FALSE(stream.fits(11, 0));
  EXPECT_FALSE(stream.fits(4, std::numeric_limits<std::size_t>::max()));
}

TEST(NibbleStream, CopyPacksPairsAndPadsAnOddLastNibble) {
  const NibbleStream stream(kBytes, sizeof kBytes);
  std::vector<std::uint8_t> aligned;
  std::size_t pos = 2;
  stream.copyNibbles(pos, 4, aligned);
  EXPECT_EQ(pos, 6u);
  EXPECT_EQ(aligned, (std::vector<std::uint8_t>{0x43, 0x65}));

  std::vector<std::uint8_t> odd;
  pos = 1;
  stream.copyNibbles(pos, 5, odd);
  EXPECT_EQ(pos, 6u);
  EXPECT_EQ(odd, (std::vector<std::uint8_t>{0x32, 0x54, 0x06}));
}

}  // namespace
}  // namespace tavrel::statexport
