// Digit operations on sixteen-digit packed-BCD integers against binary arithmetic.
#include <gtest/gtest.h>

#include "BcdOracle.h"

using namespace tavrel::bcdtest;

namespace {

uint32_t low(uint64_t v) {
  return static_cast<uint32_t>(v);
}
uint32_t high(uint64_t v) {
  return static_cast<uint32_t>(v >> 32);
}

Int randomInt(RandomReals& random, int digits) {
  Int v = 0;
  for (int i = 0; i < digits; ++i) {
    v = v * 10 + random.between(0, 9);
  }
  return v;
}

TEST(BcdDigits, AdditionAndSubtractionMatchBinaryOnRandomOperands) {
  RandomReals random(1);
  for (int i = 0; i < 20000; ++i) {
    const Int a = randomInt(random, random.between(1, 16));
    const Int b = randomInt(random, random.between(1, 16));
    const uint64_t na = toNibbles(a);
    const uint64_t nb = toNibbles(b);
    EXPECT_EQ(dcbAddAdjust(low(na), high(na), low(nb), high(nb)), toNibbles((a + b) % pow10(16)));
    const Int larger = a > b ? a : b;
    const Int smaller = a > b ? b : a;
    EXPECT_EQ(dcbSubAdjust(low(toNibbles(smaller)), high(toNibbles(smaller)),
                           low(toNibbles(larger)), high(toNibbles(larger))),
              toNibbles(larger - smaller));
  }
}

TEST(BcdDigits, CarriesAndBorrowsCrossTheHalfWordBoundary) {
  const uint64_t nines = 0x0000000099999999ull;
  EXPECT_EQ(dcbAddAdjust(low(nines), high(nines), 1, 0), 0x0000000100000000ull);
  EXPECT_EQ(dcbSubAdjust(1, 0, 0, 1), nines);
  // Sixteen nines plus one wraps to zero; a smaller minuend gives the ten's complement.
  EXPECT_EQ(dcbAddAdjust(0x99999999, 0x99999999, 1, 0), 0u);
  EXPECT_EQ(dcbSubAdjust(2, 0, 1, 0), 0x9999999999999999ull);
}

TEST(BcdDigits, ShiftRoundRoundsHalfUpWithCarry) {
  EXPECT_EQ(dcbShiftRound(0x12345, 0), 0x12345u);
  EXPECT_EQ(dcbShiftRound(0x12345, 1), 0x1235u);
  EXPECT_EQ(dcbShiftRound(0x12344, 1), 0x1234u);
  EXPECT_EQ(dcbShiftRound(0x0999999999999995ull, 1), 0x0100000000000000ull);
  EXPECT_EQ(dcbShiftRound(0x5000000000000000ull, 16), 1u);
  EXPECT_EQ(dcbShiftRound(0x4999999999999999ull, 16), 0u);
  EXPECT_EQ(dcbShiftRound(0x9999999999999999ull, 40), 0u);
  RandomReals random(2);
  for (int i = 0; i < 5000; ++i) {
    const Int v = randomInt(random, 16);
    const int n = random.between(1, 15);
    const Int lastOut = v / pow10(n - 1) % 10;
    EXPECT_EQ(dcbShiftRound(toNibbles(v), n), toNibbles(v / pow10(n) + (lastOut >= 5 ? 1 : 0)));
  }
}

TEST(BcdDigits, MulAddsTheMultiplesSelectedByTheFlagBits) {
  RandomReals random(3);
  for (int i = 0; i < 5000; ++i) {
    const Int v = randomInt(random, 14);
    const uint32_t flags = static_cast<uint32_t>(random.between(0, 15));
    EXPECT_EQ(dcbMul(toNibbles(v), flags), toNibbles(v * flags % pow10(16)));
  }
}

TEST(BcdDigits, BinaryConversionsBothWays) {
  EXPECT_EQ(bintobcd(0), 0u);
  EXPECT_EQ(bintobcd(99999999), 0x99999999u);
  EXPECT_EQ(bintobcd(100000000), 0xFFFFFFFFu);
  EXPECT_EQ(bintobcd(499), 0x499u);
  EXPECT_EQ(dcbtobin(0x1234567890123456ull), 1234567890123456ull);
  EXPECT_EQ(dcbDigit(0x87654321, 0xFEDCBA90, 0), 1u);
  EXPECT_EQ(dcbDigit(0x87654321, 0xFEDCBA90, 8), 0u);
  EXPECT_EQ(dcbDigit(0x87654321, 0xFEDCBA90, 15), 0xFu);
  EXPECT_EQ(dcbDigit(0x87654321, 0xFEDCBA90, 16), 0u);
}

}  // namespace
