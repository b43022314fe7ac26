// Reading and writing real numbers as text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "BcdOracle.h"

using namespace tavrel::bcdtest;

namespace {

std::string write(const char* value, int mode, int digits, int width, char separator = ',') {
  const BcdReal x = parse(value);
  char buffer[BCD_TEXT_SIZE];
  return fZRToString(&x, buffer, '.', separator, mode, digits, width);
}

TEST(BcdTextOut, StandardNumberTexts) {
  const std::pair<const char*, const char*> cases[] = {
      {"12345.6", "12,345.6"},
      {"3.14159265359", "3.141592653"},
      {"12345678901", "1.234567890E10"},
      {"0.00123", "0.00123"},
      {"1.5E-7", "1.5E-7"},
      {"1000", "1,000"},
      {"100", "100"},
      {"0", "0"},
      {"-1234567.125", "-1,234,567.125"},
      {"1234567890", "1,234,567,890"},
      {"1234567890.5", "1,234,567,890"},
      {"0.000012345", "0.000012345"},
      {"0.0000012345", "1.2345E-6"},
      {"0.00001234567891", "1.234567891E-5"},
      {"-9.99999999999999E49999", "-9.999999999E49999"},
      {"1E-49999", "1E-49999"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(standardText(parse(value)), text) << value;
  }
}

TEST(BcdTextOut, StandardFormWithoutSeparatorOrWithAnotherPoint) {
  EXPECT_EQ(write("12345.6", 0, 12, 10, 0), "12345.6");
  const BcdReal x = parse("-1234.5");
  char buffer[BCD_TEXT_SIZE];
  EXPECT_STREQ(fZRToString(&x, buffer, ',', '.', 0, 12, 10), "-1.234,5");
}

TEST(BcdTextOut, FixedScientificAndEngineeringModes) {
  const struct {
    const char* value;
    int mode;
    int digits;
    const char* text;
  } cases[] = {
      {"1234.5678", 1, 2, "1,234.57"},
      {"2.5", 1, 3, "2.500"},
      {"-0.012345", 1, 3, "-0.0123"},
      {"1234567890123", 1, 2, "1.23E12"},
      {"1234.5678", 2, 3, "1.235E3"},
      {"0.00012", 2, 2, "1.20E-4"},
      {"5", 2, 2, "5.00"},
      {"1234.5678", 3, 3, "1.235E3"},
      {"12345.678", 3, 2, "12.35E3"},
      {"0.00012", 3, 1, "120.0E-6"},
      {"7", 3, 2, "7.00"},
      {"7", 9, 2, ""},
      {"-7", 9, 2, "-"},
      // Rounding that carries into a new leading digit lays out the rounded value.
      {"9.996", 2, 2, "1.00E1"},
      {"9.996", 1, 2, "10.00"},
      {"999.6", 3, 0, "1E3"},
      {"0.0996", 1, 1, "0.1"},
      // Too many leading zeros for the width: scientific.
      {"1.5E-20", 1, 3, "1.500E-20"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(write(c.value, c.mode, c.digits, 10), c.text)
        << c.value << " mode " << c.mode << " digits " << c.digits;
  }
}

TEST(BcdTextOut, NeverWritesMoreThanFortyCharacters) {
  RandomReals random(40);
  char buffer[BCD_TEXT_SIZE + 8];
  for (int i = 0; i < 20000; ++i) {
    BcdReal x = random.value(-49999, 49999);
    if (i % 3 == 0) {
      x.exponent = random.between(-30, 30);
    }
    std::memset(buffer, 'Z', sizeof buffer);
    fZRToString(&x, buffer, '.', ',', random.between(-1, 4), random.between(-5, 60),
                random.between(-5, 200));
    EXPECT_LT(std::strlen(buffer), static_cast<size_t>(BCD_TEXT_SIZE));
    EXPECT_EQ(buffer[BCD_TEXT_SIZE], 'Z');
  }
}

TEST(BcdTextRoundTrip, FullPrecisionTextReadsBackToTheSameValue) {
  RandomReals random(41);
  char buffer[BCD_TEXT_SIZE];
  for (int i = 0; i < 20000; ++i) {
    const BcdReal x = random.value(-49999, 49999);
    BcdReal back{};
    ASSERT_EQ(fStringToZR(fZRToString(&x, buffer, '.', ',', 0, 14, 15), &back, '.', ','), 0)
        << buffer;
    EXPECT_REAL(back, x) << buffer;
    ASSERT_EQ(fStringToZR(fZRToString(&x, buffer, '.', 0, 2, 14, 15), &back, '.', 0), 0);
    EXPECT_REAL(back, x) << buffer;
  }
}

TEST(BcdTextIn, ReadsDigitsPointsSeparatorsAndExponents) {
  const struct {
    const char* text;
    BcdReal expected;
  } cases[] = {
      {"12,345.6", real(1, 123456000000000, 4)},
      {"-0.00123", real(-1, 123000000000000, -3)},
      {"+7", real(1, 700000000000000, 0)},
      {"000.5", real(1, 500000000000000, -1)},
      {"1.5E-7", real(1, 150000000000000, -7)},
      {"2E+3", real(1, 200000000000000, 3)},
      {"-0", ZR_0},
      {"0.000E5", ZR_0},
      {"1234567890123456789", real(1, 123456789012345, 18)},  // cut, not rounded
      {"9.99999999999999999E49999", real(1, 999999999999999, 49999)},
      {"1E-49999", ZR_Min},
      {"0.1E-49999", ZR_0},
  };
  for (const auto& c : cases) {
    BcdReal out{};
    EXPECT_EQ(fStringToZR(c.text, &out, '.', ','), 0) << c.text;
    EXPECT_REAL(out, c.expected) << c.text;
  }
}

TEST(BcdTextIn, StatusesForUnreadableText) {
  const struct {
    const char* text;
    int status;
    size_t stop;
  } cases[] = {
      {"1.2.3", 19, 3}, {"", 20, 0},        {"-", 20, 1},        {"abc", 20, 0},
      {".", 20, 1},     {"1E50000", 18, 6}, {"99E49999", 18, 8}, {"12abc", 21, 2},
      {"1e5", 21, 1},   {"1E", 21, 1},      {"1E+", 21, 1},      {"1 ", 21, 1},
  };
  for (const auto& c : cases) {
    BcdReal out = ZR_7;
    const char* end = nullptr;
    EXPECT_EQ(fStringToZR_er(c.text, &out, &end, 1, '.', ','), c.status) << c.text;
    EXPECT_EQ(static_cast<size_t>(end - c.text), c.stop) << c.text;
    if (c.status == 21) {
      EXPECT_FALSE(fEQ(&out, &ZR_0)) << "the value read so far stays";
    } else {
      EXPECT_REAL(out, ZR_0) << c.text;
    }
  }
  BcdReal out{};
  EXPECT_EQ(fStringToZR("12abc", &out, '.', ','), 21);
  EXPECT_REAL(out, real(1, 120000000000000, 1));
  EXPECT_EQ(fStringToZR(nullptr, &out, '.', ','), 20);
}

TEST(BcdTextIn, IntegerDigitsBeyondTheExponentRangeStopReading) {
  std::string text = "1" + std::string(50000, '0');
  BcdReal out{};
  EXPECT_EQ(fStringToZR(text.c_str(), &out, '.', 0), 18);
  text.pop_back();
  EXPECT_EQ(fStringToZR(text.c_str(), &out, '.', 0), 0);
  EXPECT_REAL(out, real(1, 100000000000000, 49999));
}

TEST(BcdTextIn, LenientReadingStopsQuietlyAndZeroDisablesPointAndSeparator) {
  BcdReal out{};
  const char* end = nullptr;
  const char* text = "3.25 apples";
  EXPECT_EQ(fStringToZR_er(text, &out, &end, 0, '.', ','), 0);
  EXPECT_EQ(end, text + 4);
  EXPECT_REAL(out, parse("3.25"));
  EXPECT_EQ(fStringToZR_er("3.25", &out, nullptr, 1, 0, 0), 21);
  EXPECT_REAL(out, ZR_3);
  EXPECT_EQ(fStringToZR("1'000'000", &out, '.', '\''), 0);
  EXPECT_REAL(out, parse("1E6"));
}

}  // namespace
