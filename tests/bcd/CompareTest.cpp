// Tests, comparisons, sign operations and constants.
#include <gtest/gtest.h>

#include "BcdOracle.h"

using namespace tavrel::bcdtest;

namespace {

TEST(BcdCompare, SignedComparisonsOrderRandomValuesLikeExactIntegers) {
  RandomReals random(30);
  for (int i = 0; i < 20000; ++i) {
    const BcdReal x = random.value(-3, 3);
    BcdReal y = i % 3 == 0 ? x : random.value(-3, 3);
    if (i % 7 == 0) {
      y.sign = -y.sign;
    }
    const auto exact = [](const BcdReal& v) {
      return v.sign * fromNibbles(mantissaOf(v)) * pow10(v.exponent + 3);
    };
    const Int a = exact(x);
    const Int b = exact(y);
    EXPECT_EQ(fLT(&x, &y), a < b);
    EXPECT_EQ(fLE(&x, &y), a <= b);
    EXPECT_EQ(fGT(&x, &y), a > b);
    EXPECT_EQ(fGE(&x, &y), a >= b);
    EXPECT_EQ(fEQ(&x, &y), a == b);
    EXPECT_EQ(fNE(&x, &y), a != b);
    const Int ma = a < 0 ? -a : a;
    const Int mb = b < 0 ? -b : b;
    EXPECT_EQ(fMLT(&x, &y), ma < mb);
    EXPECT_EQ(fMLE(&x, &y), ma <= mb);
    EXPECT_EQ(fMGT(&x, &y), ma > mb);
    EXPECT_EQ(fMGE(&x, &y), ma >= mb);
    EXPECT_EQ(fMEQ(&x, &y), ma == mb);
    EXPECT_EQ(fMNE(&x, &y), ma != mb);
    BcdReal out{};
    fimin(&out, &x, &y);
    EXPECT_TRUE(fromNibbles(mantissaOf(out)) * out.sign * pow10(out.exponent + 3) ==
                (a < b ? a : b));
    fimax(&out, &x, &y);
    EXPECT_TRUE(fromNibbles(mantissaOf(out)) * out.sign * pow10(out.exponent + 3) ==
                (a < b ? b : a));
  }
}

TEST(BcdCompare, ZeroComparesByItsMantissa) {
  EXPECT_TRUE(fMLT(&ZR_0, &ZR_1));
  EXPECT_FALSE(fMLT(&ZR_1, &ZR_0));
  EXPECT_TRUE(fMLE(&ZR_0, &ZR_N0));
  EXPECT_TRUE(fEQ(&ZR_0, &ZR_N0));
  EXPECT_FALSE(fNE(&ZR_0, &ZR_N0));
  BcdReal odd = ZR_0;
  odd.sign = 0;
  EXPECT_TRUE(fEQ(&odd, &ZR_0));  // equality looks at the mantissa only
  EXPECT_TRUE(fNE(&odd, &ZR_0));  // inequality needs both to be finite zeros
}

TEST(BcdCompare, TestsOfOneValue) {
  BcdReal nonFinite = ZR_5;
  nonFinite.sign = 2;
  EXPECT_TRUE(fZero(&ZR_N0));
  EXPECT_FALSE(fZero(&ZR_Min));
  EXPECT_TRUE(fMZero(&ZR_0));
  EXPECT_FALSE(fFinite(&nonFinite));
  EXPECT_TRUE(fFinite(&ZR_N1));
  EXPECT_TRUE(fPos(&nonFinite));
  EXPECT_TRUE(fNeg(&ZR_NMin));
  EXPECT_TRUE(fiSignEQ(&ZR_N1, &ZR_N3));
  EXPECT_FALSE(fiSignEQ(&ZR_1, &ZR_N3));
  EXPECT_EQ(fError(0), 1);
  EXPECT_EQ(fError(1), 1);
  for (int code : {4, 5, 8, 18, 19, 20, 21}) {
    EXPECT_EQ(fError(code), 0);
  }
}

TEST(BcdCompare, ParityAndIntegerTests) {
  const struct {
    const char* x;
    int parity;
    int integer;
  } cases[] = {{"7", -1, 1},  {"12", 1, 1},   {"13.5", -1, 0},
               {"0.5", 1, 0}, {"1E15", 1, 1}, {"123456789012345", -1, 1},
               {"-3", -1, 1}, {"0", 1, 1}};
  for (const auto& c : cases) {
    const BcdReal x = parse(c.x);
    EXPECT_EQ(fiParity(&x), c.parity) << c.x;
    EXPECT_EQ(fiInteger(&x), c.integer) << c.x;
  }
}

TEST(BcdCompare, SignOperationsInPlace) {
  BcdReal x = ZR_3;
  fichs(&x);
  EXPECT_REAL(x, ZR_N3);
  fiabs(&x);
  EXPECT_REAL(x, ZR_3);
  BcdReal zero = ZR_0;
  fichs(&zero);
  EXPECT_REAL(zero, ZR_0);
}

TEST(BcdCompare, ConstantsHoldTheirValues) {
  const std::pair<const BcdReal*, const char*> constants[] = {{&ZR_0, "0"},
                                                              {&ZR_1, "1"},
                                                              {&ZR_2, "2"},
                                                              {&ZR_3, "3"},
                                                              {&ZR_4, "4"},
                                                              {&ZR_5, "5"},
                                                              {&ZR_6, "6"},
                                                              {&ZR_7, "7"},
                                                              {&ZR_8, "8"},
                                                              {&ZR_9, "9"},
                                                              {&ZR_N1, "-1"},
                                                              {&ZR_N2, "-2"},
                                                              {&ZR_N3, "-3"},
                                                              {&ZR_10, "10"},
                                                              {&ZR_11, "11"},
                                                              {&ZR_50, "50"},
                                                              {&ZR_Max, "9.99999999999999E49999"},
                                                              {&ZR_NMax, "-9.99999999999999E49999"},
                                                              {&ZR_Min, "1E-49999"},
                                                              {&ZR_NMin, "-1E-49999"}};
  for (const auto& [constant, text] : constants) {
    EXPECT_REAL(*constant, parse(text)) << text;
    EXPECT_EQ(constant->spare1, 0u);
    EXPECT_EQ(constant->spare2, 0u);
  }
  EXPECT_EQ(ZR_N0.sign, -1);
  EXPECT_EQ(mantissaOf(ZR_N0), 0u);
  EXPECT_EQ(MinMantisa, 1u);
}

}  // namespace
