// Packed form, normalisation and the rounding to twelve digits.
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

// Independent reading of a packed value: sign, twelve digits, exponent.
struct Packed {
  int signNibble;
  Int digits;
  int exponent;
};

Packed decode(PackedReal p) {
  const int e = static_cast<int>(fromNibbles(p & 0xFFF));
  return Packed{static_cast<int>(p >> 60), fromNibbles((p >> 12) & 0xFFFFFFFFFFFFull),
                e >= 500 ? e - 1000 : e};
}

TEST(BcdPack, RoundsFifteenDigitsToTwelveWithTiesToEven) {
  RandomReals random(10);
  for (int i = 0; i < 20000; ++i) {
    Int m = random.mantissa();
    if (i % 4 == 0) {  // make ties common
      m = m / 1000 * 1000 + 500;
    }
    const int sign = random.sign();
    const int exponent = random.between(-400, 400);
    Int expected = m / 1000;
    const Int rest = m % 1000;
    int expectedExponent = exponent;
    if (rest > 500 || (rest == 500 && expected % 2 == 1)) {
      ++expected;
    }
    if (expected == pow10(12)) {
      expected = pow10(11);
      ++expectedExponent;
    }
    const BcdReal x = real(sign, m, exponent);
    const Packed p = decode(fPack(&x));
    EXPECT_EQ(p.signNibble, sign > 0 ? 0 : 9);
    EXPECT_TRUE(p.digits == expected) << describe(x);
    EXPECT_EQ(p.exponent, expectedExponent);
    BcdReal back{};
    fUnpack(low(fPack(&x)), high(fPack(&x)), &back);
    EXPECT_REAL(back, real(sign, expected * 1000, expectedExponent));
  }
}

TEST(BcdPack, ClampsToThePackedRange) {
  const BcdReal tiny = real(1, 250000000000000, -1000);
  EXPECT_EQ(fPack(&tiny), PZR_0);
  const BcdReal huge = real(-1, 123000000000000, 600);
  const Packed p = decode(fPack(&huge));
  EXPECT_EQ(p.signNibble, 9);
  EXPECT_TRUE(p.digits == 999999999999);
  EXPECT_EQ(p.exponent, 499);
  BcdReal rounded = huge;
  fNorm_L(0, &rounded);
  EXPECT_EQ(mantissaOf(rounded), 0x0999999999999999ull);  // every nibble below 15, not 12
  const BcdReal carried = real(1, 999999999999600, 499);
  EXPECT_EQ(decode(fPack(&carried)).exponent, 499);
  EXPECT_TRUE(decode(fPack(&carried)).digits == 999999999999);
}

TEST(BcdPack, SpecifiedRoundingExamples) {
  const BcdReal even = parse("1.234567890125");
  const BcdReal up = parse("1.234567890135");
  EXPECT_TRUE(decode(fPack(&even)).digits == 123456789012);
  EXPECT_TRUE(decode(fPack(&up)).digits == 123456789014);
  BcdReal tie = even;
  fNorm_L(1, &tie);  // mode 1 rounds ties away from zero
  EXPECT_REAL(tie, parse("1.23456789013"));
}

TEST(BcdPack, UnpackReadsNegativeExponentsAndOddSigns) {
  BcdReal x{};
  fUnpack(0x00000999, 0x01000000, &x);
  EXPECT_EQ(x.exponent, -1);
  EXPECT_EQ(x.sign, 1);
  fUnpack(0x00000001, 0x41200000, &x);
  EXPECT_EQ(x.sign, 0);
  EXPECT_FALSE(fFinite(&x));
  EXPECT_TRUE(fPNaN(0x00000001, 0x41200000));
  EXPECT_FALSE(fPNaN(low(PZR_12), high(PZR_12)));
  EXPECT_EQ(fPack(&x), 0x4120000000000001ull);  // a sign other than +-1 survives packing
  fUnpack(low(PZR_12), high(PZR_12), &x);
  EXPECT_REAL(x, parse("12"));
}

TEST(BcdPack, PackedConstantsMatchTheirValues) {
  const std::pair<PackedReal, const char*> constants[] = {
      {PZR_0, "0"},   {PZR_1, "1"},     {PZR_2, "2"},    {PZR_3, "3"},
      {PZR_12, "12"}, {PZR_100, "100"}, {PZR_200, "200"}};
  for (const auto& [packed, text] : constants) {
    const BcdReal value = parse(text);
    EXPECT_EQ(fPack(&value), packed) << text;
  }
}

TEST(BcdPack, NormUpRoundsHalfUpAndReportsIt) {
  BcdReal x = real(1, 123456789012500, 3);
  EXPECT_NE(fNormUp_L(&x), 0);
  EXPECT_REAL(x, real(1, 123456789013000, 3));
  x = real(1, 123456789012499, 3);
  EXPECT_EQ(fNormUp_L(&x), 0);
  EXPECT_REAL(x, real(1, 123456789012000, 3));
}

TEST(BcdPack, RoundingAnOverflowDigitThatCarriesAgainStaysNormalised) {
  // 9999...95 in all sixteen nibbles rounds up to 10^16, one more digit than fits.
  BcdReal x = BcdReal{1, 0, 0x99999995, 0x99999999, 7, 0};
  fNorm_L(0, &x);
  EXPECT_REAL(x, real(1, 100000000000000, 9));
}

TEST(BcdNorm, ShiftsLeadingZerosAndOneOverflowDigit) {
  BcdReal x = BcdReal{-1, 0, 0x00001234, 0, 20, 0};
  EXPECT_EQ(fNorm(&x), 0);
  EXPECT_REAL(x, real(-1, 123400000000000, 9));
  x = BcdReal{1, 0, 0x00000001, 0x12345678, 0, 0};
  EXPECT_EQ(fNorm(&x), 1);
  EXPECT_EQ(x.exponent, 1);
  x = BcdReal{-1, 0, 0, 0, 33, 0};
  EXPECT_EQ(fNorm(&x), 0);
  EXPECT_REAL(x, ZR_0);
}

TEST(BcdNorm, ClampsBothEndsOfTheExponentRange) {
  BcdReal x = BcdReal{-1, 0, 0, 0x10000000, 49999, 0};
  fNorm(&x);
  EXPECT_REAL(x, ZR_NMax);
  x = BcdReal{1, 0, 0x00000001, 0, -49990, 0};
  fNorm(&x);
  EXPECT_REAL(x, ZR_0);
  x = real(1, 100000000000000, 60000);  // no shift needed, still out of range
  fNorm(&x);
  EXPECT_REAL(x, ZR_Max);
}

}  // namespace
