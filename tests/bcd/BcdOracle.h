// Exact integer arithmetic on decimal mantissas, independent of the library, to check its
// results digit for digit; plus small helpers to write values in tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <string>

#include "tavrel/bcd.h"

namespace tavrel::bcdtest {

using Int = __int128;

inline Int pow10(int n) {
  Int p = 1;
  while (n-- > 0) {
    p *= 10;
  }
  return p;
}

inline uint64_t toNibbles(Int v) {
  uint64_t out = 0;
  for (int i = 0; v != 0; ++i, v /= 10) {
    out |= static_cast<uint64_t>(v % 10) << (4 * i);
  }
  return out;
}

inline Int fromNibbles(uint64_t v) {
  Int out = 0;
  for (int i = 15; i >= 0; --i) {
    out = out * 10 + ((v >> (4 * i)) & 0xF);
  }
  return out;
}

inline uint64_t mantissaOf(const BcdReal& x) {
  return uint64_t{x.mantHigh} << 32 | x.mantLow;
}

// sign * digits * 10^(exponent - 14), digits being a fifteen-digit integer.
inline BcdReal real(int sign, Int digits, int exponent) {
  const uint64_t m = toNibbles(digits);
  return BcdReal{sign, 0, static_cast<uint32_t>(m), static_cast<uint32_t>(m >> 32), exponent, 0};
}

// The normalised value sign * value * 10^scale; value must fit fifteen digits once its
// trailing zeros are gone.
inline BcdReal exactReal(int sign, Int value, int scale) {
  if (value == 0) {
    return ZR_0;
  }
  int digits = 0;
  for (Int v = value; v != 0; v /= 10) {
    ++digits;
  }
  if (digits > 15) {
    const Int cut = pow10(digits - 15);
    EXPECT_TRUE(value % cut == 0) << "oracle value does not fit 15 digits";
    return real(sign, value / cut, scale + digits - 1);
  }
  return real(sign, value * pow10(15 - digits), scale + digits - 1);
}

inline BcdReal parse(const char* text) {
  BcdReal out{};
  EXPECT_EQ(fStringToZR(text, &out, '.', 0), 0) << text;
  return out;
}

inline std::string standardText(const BcdReal& x) {
  char buffer[BCD_TEXT_SIZE];
  return fZRToString(&x, buffer, '.', ',', 0, 12, 10);
}

inline bool sameValue(const BcdReal& a, const BcdReal& b) {
  return a.sign == b.sign && mantissaOf(a) == mantissaOf(b) && a.exponent == b.exponent;
}

inline std::string describe(const BcdReal& x) {
  char hex[64];
  std::snprintf(hex, sizeof hex, "{sign %d, mantissa %016llx, exponent %d}", x.sign,
                static_cast<unsigned long long>(mantissaOf(x)), x.exponent);
  return hex;
}

inline testing::AssertionResult realsEqual(const char* actualExpr, const char* expectedExpr,
                                           const BcdReal& actual, const BcdReal& expected) {
  if (sameValue(actual, expected)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << actualExpr << " is " << describe(actual) << ", "
                                     << expectedExpr << " is " << describe(expected);
}

#define EXPECT_REAL(actual, expected) \
  EXPECT_PRED_FORMAT2(::tavrel::bcdtest::realsEqual, actual, expected)

// Random normalised operands with a chosen number of significant digits.
class RandomReals {
 public:
  explicit RandomReals(uint64_t seed) : generator_(seed) {}

  int between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(generator_);
  }

  // A fifteen-digit mantissa whose lowest 15 - significant digits are zero.
  Int mantissa(int significant) {
    Int m = between(1, 9);
    for (int i = 1; i < 15; ++i) {
      m = m * 10 + (i < significant ? between(0, 9) : 0);
    }
    return m;
  }
  Int mantissa() { return mantissa(between(1, 15)); }
  int sign() { return between(0, 1) ? 1 : -1; }

  BcdReal value(int lowExponent, int highExponent) {
    return real(sign(), mantissa(), between(lowExponent, highExponent));
  }

 private:
  std::mt19937_64 generator_;
};

}  // namespace tavrel::bcdtest
