// Addition and subtraction of working values.
#include "Digits.h"
#include "Real.h"

namespace tavrel::bcd {

int add(const BcdReal& x, const BcdReal& y, BcdReal& out) {
  if (isZeroMantissa(x)) {
    out = y;
    return 0;
  }
  if (isZeroMantissa(y)) {
    out = x;
    return 0;
  }
  const uint64_t mx = mantissa(x);
  const uint64_t my = mantissa(y);
  const bool xLarge = x.exponent > y.exponent || (x.exponent == y.exponent && mx >= my);
  const bool subtract = x.sign != y.sign;
  uint64_t large = xLarge ? mx : my;
  uint64_t small = xLarge ? my : mx;
  int64_t exponent = xLarge ? x.exponent : y.exponent;
  const int64_t smallExponent = xLarge ? y.exponent : x.exponent;
  if (subtract && exponent != smallExponent) {
    large <<= 4;  // guard digit, so that a borrow does not cost a digit
    --exponent;
  }
  const int64_t k = exponent - smallExponent;
  int inexact = 0;
  uint64_t sum = large;
  if (k <= 15) {
    const int shift = static_cast<int>(k);
    inexact = (small & lowNibblesMask(shift)) != 0;
    small = shiftRound(small, shift);
    sum = subtract ? bcdSub(large, small) : bcdAdd(large, small);
  } else {
    inexact = 1;
  }
  out = xLarge ? x : y;
  return normalise(out, sum, exponent) | inexact;
}

void negate(BcdReal& x) {
  if (!isZeroMantissa(x)) {
    x.sign = static_cast<int32_t>(0u - static_cast<uint32_t>(x.sign));
  }
}

}  // namespace tavrel::bcd

using namespace tavrel::bcd;

extern "C" {

int fradd(const BcdReal* x, const BcdReal* y, BcdReal* out) {
  return add(*x, *y, *out);
}

int frsub(const BcdReal* x, const BcdReal* y, BcdReal* out) {
  BcdReal negated = *y;
  negate(negated);
  return add(*x, negated, *out);
}

}  // extern "C"
