// Rounding to digits, integer and fractional parts, and integer conversion.
#include <gtest/gtest.h>

#include <climits>

#include "BcdOracle.h"

using namespace tavrel::bcdtest;

namespace {

TEST(BcdRounding, RoundAndTruncateToDecimalPlacesAndSignificantDigits) {
  const struct {
    const char* x;
    int n;
    const char* rounded;
    const char* truncated;
  } cases[] = {{"0.006", 2, "0", "0"},
               {"0.006", 3, "0.006", "0.006"},
               {"2.345", 2, "2.35", "2.34"},
               {"-2.345", 2, "-2.35", "-2.34"},
               {"9.996", 2, "10", "9.99"},
               {"123456", -2, "120000", "120000"},
               {"987654", -1, "1E6", "9E5"},
               {"0.5", 0, "0", "0"},
               {"0.4", 0, "0", "0"},
               {"1.23456789012345", 14, "1.23456789012345", "1.23456789012345"},
               {"0", 3, "0", "0"},
               {"99999.5", -5, "1E5", "99999"}};
  for (const auto& c : cases) {
    const BcdReal x = parse(c.x);
    BcdReal out{};
    firnd(&x, c.n, &out);
    EXPECT_REAL(out, parse(c.rounded)) << c.x << " rnd " << c.n;
    fitrunc(&x, c.n, &out);
    EXPECT_REAL(out, parse(c.truncated)) << c.x << " trunc " << c.n;
  }
}

TEST(BcdRounding, RoundingTheLargestValueUpSaturatesInsteadOfCarryingForever) {
  BcdReal out{};
  EXPECT_EQ(firnd(&ZR_Max, -3, &out), 1);
  EXPECT_REAL(out, ZR_Max);
  EXPECT_EQ(firnd(&ZR_NMax, -1, &out), 1);
  EXPECT_REAL(out, ZR_NMax);
  EXPECT_EQ(fitrunc(&ZR_Max, -3, &out), 1);
  EXPECT_REAL(out, parse("9.99E49999"));
}

TEST(BcdRounding, IntegerAndFractionalParts) {
  const struct {
    const char* x;
    const char* ip;
    const char* fp;
    const char* ceil;
    const char* floor;
  } cases[] = {{"-1.5", "-1", "-0.5", "-1", "-2"},
               {"1.5", "1", "0.5", "2", "1"},
               {"0.25", "0", "0.25", "1", "0"},
               {"-0.25", "0", "-0.25", "0", "-1"},
               {"7", "7", "0", "7", "7"},
               {"-123.456", "-123", "-0.456", "-123", "-124"},
               {"1E20", "1E20", "0", "1E20", "1E20"},
               {"12345678901234.5", "12345678901234", "0.5", "12345678901235", "12345678901234"}};
  for (const auto& c : cases) {
    const BcdReal x = parse(c.x);
    BcdReal out{};
    fiIP(&out, &x);
    EXPECT_REAL(out, parse(c.ip)) << "ip " << c.x;
    fiFP(&out, &x);
    EXPECT_REAL(out, parse(c.fp)) << "fp " << c.x;
    ficeil(&out, &x);
    EXPECT_REAL(out, parse(c.ceil)) << "ceil " << c.x;
    fifloor(&out, &x);
    EXPECT_REAL(out, parse(c.floor)) << "floor " << c.x;
  }
}

TEST(BcdRounding, IntegerPartInPlaceAndOfNonFiniteValues) {
  BcdReal x = parse("-9.75");
  fifloor(&x, &x);
  EXPECT_REAL(x, parse("-10"));
  BcdReal odd = parse("4.5");
  odd.sign = 0;
  BcdReal out{};
  fiIP(&out, &odd);
  EXPECT_REAL(out, odd);
}

TEST(BcdRounding, ConversionToIntegerSaturates) {
  EXPECT_EQ(fZRToInt(&ZR_0), 0);
  const std::pair<const char*, int32_t> cases[] = {{"2147483647.5", INT32_MAX},
                                                   {"-3000000000", INT32_MIN},
                                                   {"-2147483648", INT32_MIN},
                                                   {"1E10", INT32_MAX},
                                                   {"-123.9", -123},
                                                   {"0.99", 0},
                                                   {"2147483647", INT32_MAX},
                                                   {"-2147483647", -2147483647}};
  for (const auto& [text, expected] : cases) {
    const BcdReal x = parse(text);
    EXPECT_EQ(fZRToInt(&x), expected) << text;
  }
}

TEST(BcdRounding, ConversionFromIntegerIsExactOverTheWholeRange) {
  const std::pair<int32_t, const char*> cases[] = {
      {0, "0"}, {7, "7"}, {-10, "-10"}, {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"}};
  for (const auto& [n, text] : cases) {
    BcdReal out{};
    fIntToZR(n, &out);
    EXPECT_REAL(out, parse(text)) << n;
    EXPECT_EQ(fZRToInt(&out), n);
  }
}

TEST(BcdRounding, SignificantDigitsCountForWritingWithoutExponent) {
  const std::pair<const char*, int> cases[] = {
      {"12345.6", 6},        {"0.00123", 3}, {"100", 3}, {"1E20", 21},
      {"3.14159265359", 12}, {"1.5E-7", 2},  {"7", 1},   {"0", 1}};
  for (const auto& [text, expected] : cases) {
    const BcdReal x = parse(text);
    EXPECT_EQ(fNbSigDigits(&x), expected) << text;
  }
}

}  // namespace
