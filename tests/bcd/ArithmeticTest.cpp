// Addition, multiplication, division and square root against exact integer arithmetic.
#include <gtest/gtest.h>

#include "BcdOracle.h"

using namespace tavrel::bcdtest;

namespace {

Int mantissaValue(const BcdReal& x) {
  return fromNibbles(mantissaOf(x));
}

int digitCount(Int v) {
  int n = 0;
  for (; v != 0; v /= 10) {
    ++n;
  }
  return n;
}

// Digits from the leading one to the last non-zero one.
int span(Int v) {
  while (v != 0 && v % 10 == 0) {
    v /= 10;
  }
  return digitCount(v);
}

Int isqrt(Int n) {
  Int low = 0;
  Int high = pow10(16);
  while (low < high) {
    const Int mid = (low + high + 1) / 2;
    if (mid * mid <= n) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  return low;
}

TEST(BcdArithmetic, SumsThatFitFifteenDigitsAreExact) {
  RandomReals random(20);
  int checked = 0;
  for (int i = 0; i < 40000; ++i) {
    const BcdReal x = random.value(-20, 20);
    BcdReal y = random.value(x.exponent - 16, x.exponent + 16);
    // Both as integers in units of the smaller last place.
    const int scale = std::min(x.exponent, y.exponent) - 14;
    const Int a = x.sign * mantissaValue(x) * pow10(x.exponent - 14 - scale);
    const Int b = y.sign * mantissaValue(y) * pow10(y.exponent - 14 - scale);
    const Int sum = a + b;
    const Int magnitude = sum < 0 ? -sum : sum;
    if (span(magnitude) > 15) {
      continue;
    }
    ++checked;
    BcdReal out{};
    EXPECT_EQ(fradd(&x, &y, &out), 0);
    EXPECT_REAL(out, exactReal(sum < 0 ? -1 : 1, magnitude, scale)) << describe(x) << describe(y);
    fichs(&y);
    EXPECT_EQ(frsub(&x, &y, &out), 0);
    EXPECT_REAL(out, exactReal(sum < 0 ? -1 : 1, magnitude, scale));
  }
  EXPECT_GT(checked, 10000);
}

TEST(BcdArithmetic, AdditionKeepsTheLargeOperandsSpareWords) {
  BcdReal x = parse("5");
  x.spare1 = 7;
  x.spare2 = 8;
  BcdReal y = parse("-2");
  BcdReal out{};
  fradd(&x, &y, &out);
  EXPECT_EQ(out.spare1, 7u);
  EXPECT_EQ(out.spare2, 8u);
  fradd(&x, &ZR_0, &out);  // a zero operand returns the other one whole
  EXPECT_EQ(out.spare1, 7u);
}

TEST(BcdArithmetic, AdditionAlignsWithRoundingAndReportsDroppedDigits) {
  const BcdReal one = ZR_1;
  const BcdReal tiny = parse("6E-15");
  BcdReal out{};
  EXPECT_EQ(fradd(&one, &tiny, &out), 1);
  EXPECT_REAL(out, parse("1.00000000000001"));
  const BcdReal far = parse("1E-40");
  EXPECT_EQ(fradd(&one, &far, &out), 1);
  EXPECT_REAL(out, ZR_1);
  EXPECT_EQ(frsub(&one, &one, &out), 0);
  EXPECT_REAL(out, ZR_0);
  EXPECT_EQ(fradd(&ZR_Max, &ZR_Max, &out), 1);
  EXPECT_REAL(out, ZR_Max);
}

TEST(BcdArithmetic, ProductsAreTheTruncatedExactProducts) {
  RandomReals random(21);
  for (int i = 0; i < 40000; ++i) {
    const BcdReal x = random.value(-300, 300);
    const BcdReal y = random.value(-300, 300);
    const Int p = mantissaValue(x) * mantissaValue(y);
    const bool wide = p >= pow10(29);
    const Int digits = wide ? p / pow10(15) : p / pow10(14);
    const int exponent = x.exponent + y.exponent + (wide ? 1 : 0);
    BcdReal out{};
    const int status = fmul(&x, &y, &out);
    EXPECT_REAL(out, real(x.sign == y.sign ? 1 : -1, digits, exponent))
        << describe(x) << describe(y);
    EXPECT_EQ(status, wide && (p / pow10(14)) % 10 != 0 ? 1 : 0);
  }
}

TEST(BcdArithmetic, UnnormalisedProductKeepsTheOverflowDigit) {
  const BcdReal x = parse("5");
  const BcdReal y = parse("4");
  BcdReal out{};
  fmul_noNorm(&x, &y, &out);
  EXPECT_EQ(mantissaOf(out), 0x2000000000000000ull);
  EXPECT_EQ(out.exponent, 0);
  fNorm(&out);
  EXPECT_REAL(out, parse("20"));
}

TEST(BcdArithmetic, NibblesAboveNineMultiplyByTheirValueLikeTheDigitOperations) {
  const BcdReal x = BcdReal{1, 0, 0, 0x0C000000, 0, 0};
  const BcdReal y = parse("1.5");
  BcdReal out{};
  fmul_noNorm(&x, &y, &out);
  EXPECT_EQ(mantissaOf(out), dcbMul(mantissaOf(y), 12));
}

TEST(BcdArithmetic, QuotientsAreTruncatedWithTheRemainderAsStatus) {
  RandomReals random(22);
  for (int i = 0; i < 40000; ++i) {
    const BcdReal x = random.value(-300, 300);
    const BcdReal y = random.value(-300, 300);
    const Int mx = mantissaValue(x);
    const Int my = mantissaValue(y);
    const bool shifted = my > mx;
    const Int dividend = mx * pow10(shifted ? 15 : 14);
    BcdReal out{};
    const int status = fdiv(&x, &y, &out);
    EXPECT_REAL(out, real(x.sign == y.sign ? 1 : -1, dividend / my,
                          x.exponent - y.exponent - (shifted ? 1 : 0)))
        << describe(x) << describe(y);
    EXPECT_EQ(status, dividend % my != 0 ? 1 : 0);
  }
}

TEST(BcdArithmetic, DivisionByZeroAndOfZero) {
  BcdReal out{};
  EXPECT_EQ(fdiv(&ZR_0, &ZR_0, &out), 5);
  EXPECT_REAL(out, ZR_0);
  EXPECT_EQ(fdiv(&ZR_N3, &ZR_0, &out), 4);
  EXPECT_REAL(out, ZR_NMax);
  EXPECT_EQ(fdiv(&ZR_3, &ZR_0, &out), 4);
  EXPECT_REAL(out, ZR_Max);
  EXPECT_EQ(fdiv(&ZR_0, &ZR_3, &out), 0);
  EXPECT_REAL(out, ZR_0);
  EXPECT_EQ(finv(&ZR_0, &out), 4);
  EXPECT_EQ(finv(&ZR_N2, &out), 0);
  EXPECT_REAL(out, parse("-0.5"));
  EXPECT_EQ(finv(&ZR_3, &out), 1);
  EXPECT_REAL(out, parse("0.333333333333333"));
}

TEST(BcdArithmetic, ResultsBeyondTheExponentRangeSaturate) {
  BcdReal out{};
  EXPECT_EQ(fdiv(&ZR_Max, &ZR_Min, &out), 1);
  EXPECT_REAL(out, ZR_Max);
  EXPECT_EQ(fmul(&ZR_NMax, &ZR_Max, &out), 1);
  EXPECT_REAL(out, ZR_NMax);
  EXPECT_EQ(fmul(&ZR_Min, &ZR_Min, &out), 1);
  EXPECT_REAL(out, ZR_0);
}

TEST(BcdArithmetic, RootsAreTheTruncatedExactRoots) {
  RandomReals random(23);
  for (int i = 0; i < 20000; ++i) {
    BcdReal x = random.value(-300, 300);
    x.sign = 1;
    if (i % 5 == 0) {  // exact squares of short roots
      const Int r = random.mantissa(random.between(1, 7)) / pow10(7);
      x = exactReal(1, r * r, random.between(-50, 50));
    }
    const bool odd = (x.exponent & 1) != 0;
    const Int radicand = mantissaValue(x) * pow10(odd ? 15 : 14);
    const Int root = isqrt(radicand);
    BcdReal out{};
    const int status = fsqrt(&x, &out);
    EXPECT_REAL(out, real(1, root, x.exponent >> 1)) << describe(x);
    EXPECT_EQ(status, root * root == radicand ? 0 : 1) << describe(x);
  }
}

TEST(BcdArithmetic, RootEdgeCases) {
  BcdReal out{};
  EXPECT_EQ(fsqrt(&ZR_N2, &out), 8);
  EXPECT_REAL(out, ZR_0);
  EXPECT_EQ(fsqrt(&ZR_0, &out), 0);
  EXPECT_REAL(out, ZR_0);
  EXPECT_EQ(fsqrt(&ZR_4, &out), 0);
  EXPECT_REAL(out, ZR_2);
  const BcdReal hundredth = parse("0.01");
  EXPECT_EQ(fsqrt(&hundredth, &out), 0);
  EXPECT_REAL(out, parse("0.1"));
  EXPECT_EQ(fsqrt(&ZR_2, &out), 1);
  EXPECT_REAL(out, parse("1.41421356237309"));
  EXPECT_EQ(fsqrt(&ZR_Max, &out), 1);
  EXPECT_REAL(out, parse("9.99999999999999E24999"));
}

TEST(BcdArithmetic, RemainderTakesTheDivisorsSign) {
  const struct {
    const char* x;
    const char* y;
    const char* expected;
  } cases[] = {{"-5", "7", "2"}, {"5", "-7", "-2"}, {"5", "70", "5"},        {"7.5", "2", "1.5"},
               {"25", "3", "1"}, {"-25", "3", "2"}, {"1E20", "7", "2"},      {"6", "3", "0"},
               {"0", "3", "0"},  {"4", "0", "4"},   {"-1E-3", "-5", "-1E-3"}};
  for (const auto& c : cases) {
    const BcdReal x = parse(c.x);
    const BcdReal y = parse(c.y);
    BcdReal out{};
    hfmod(&x, &y, &out);
    EXPECT_REAL(out, parse(c.expected)) << c.x << " mod " << c.y;
  }
}

TEST(BcdArithmetic, RemaindersAreExactWhenTheDividendIsNotSmaller) {
  RandomReals random(24);
  for (int i = 0; i < 20000; ++i) {
    const BcdReal y = random.value(-100, 100);
    const BcdReal x = random.value(y.exponent, y.exponent + 14);
    const Int dividend = mantissaValue(x) * pow10(x.exponent - y.exponent);
    const Int divisor = mantissaValue(y);
    Int remainder = dividend % divisor;
    if (x.sign != y.sign && remainder != 0) {
      remainder = divisor - remainder;
    }
    BcdReal out{};
    hfmod(&x, &y, &out);
    EXPECT_REAL(out, exactReal(y.sign, remainder, y.exponent - 14)) << describe(x) << describe(y);
  }
}

TEST(BcdArithmetic, DoublingAndHalving) {
  BcdReal out{};
  const BcdReal x = parse("-7.5");
  EXPECT_EQ(fmul2(&x, &out), 0);
  EXPECT_REAL(out, parse("-15"));
  EXPECT_EQ(fdiv2(&x, &out), 0);
  EXPECT_REAL(out, parse("-3.75"));
  const BcdReal odd = parse("3.00000000000001");
  EXPECT_EQ(fdiv2(&odd, &out), 1);  // the sixteenth digit does not fit
  EXPECT_REAL(out, parse("1.5"));
  const BcdReal full = parse("9.99999999999999");
  EXPECT_EQ(fmul2(&full, &out), 1);  // the dropped digit is cut, not rounded
  EXPECT_REAL(out, parse("19.9999999999999"));
  EXPECT_EQ(fmul2(&ZR_NMax, &out), 1);
  EXPECT_REAL(out, ZR_NMax);
  EXPECT_EQ(fdiv2(&ZR_Min, &out), 1);  // below the smallest value: zero
  EXPECT_REAL(out, ZR_0);
  EXPECT_EQ(fdiv2(&ZR_1, &out), 0);
  EXPECT_REAL(out, parse("0.5"));
}

}  // namespace
