// Rounding to a number of digits, integer and fractional parts, and integer conversion.
#include <climits>

#include "Digits.h"
#include "Real.h"

namespace tavrel::bcd {

int roundToDigits(const BcdReal& x, int n, BcdReal& out, bool nearest) {
  BcdReal value = x;
  int dropped = 0;
  for (;;) {
    const int64_t kept = n < 0 ? -int64_t{n} : int64_t{value.exponent} + n + 1;
    if (kept > 14) {
      out = value;
      return dropped;
    }
    if (kept <= 0) {
      dropped |= !isZeroMantissa(value);
      out = ZR_0;
      return dropped;
    }
    const int cut = 15 - static_cast<int>(kept);  // nibbles below this one are dropped
    uint64_t m = mantissa(value);
    const uint64_t droppedMask = lowNibblesMask(cut);
    dropped |= (m & droppedMask) != 0;
    const bool roundUp = nearest && nibble(m, cut - 1) >= 5;
    m &= ~droppedMask;
    if (roundUp) {
      m = bcdAdd(m, uint64_t{1} << (4 * cut));
    }
    setMantissa(value, m);
    if (overflowNibble(m)) {
      // Rounding the largest value up would carry forever: it saturates instead.
      const bool saturates = value.exponent >= kMaxExponent;
      normalise(value, m, value.exponent);
      if (saturates) {
        out = value;
        return 1;
      }
      continue;
    }
    if (m == 0) {
      out = ZR_0;
      return dropped;
    }
    out = value;
    return dropped;
  }
}

void integerPart(BcdReal& out, const BcdReal& x) {
  if (!isFinite(x) || x.exponent >= 14) {
    out = x;
    return;
  }
  if (x.exponent < 0) {
    out = ZR_0;
    return;
  }
  const BcdReal value = x;
  out = value;
  setMantissa(out, mantissa(value) & ~lowNibblesMask(14 - value.exponent));
}

int significantDigits(const BcdReal& x) {
  const uint64_t m = mantissa(x) & ~(uint64_t{0xF} << 60);
  const int significant = m == 0 ? 0 : 15 - lowestNonZeroNibble(m);
  const int64_t integerDigits = int64_t{x.exponent} + 1;
  if (x.exponent > 13) {
    return static_cast<int>(integerDigits);
  }
  if (x.exponent < 0) {
    return significant;
  }
  return significant > integerDigits ? significant : static_cast<int>(integerDigits);
}

}  // namespace tavrel::bcd

using namespace tavrel::bcd;

extern "C" {

int firnd(const BcdReal* x, int n, BcdReal* out) {
  return roundToDigits(*x, n, *out, true);
}

int fitrunc(const BcdReal* x, int n, BcdReal* out) {
  return roundToDigits(*x, n, *out, false);
}

void fiIP(BcdReal* out, const BcdReal* x) {
  integerPart(*out, *x);
}

void fiFP(BcdReal* out, const BcdReal* x) {
  if (x->exponent > 13) {
    *out = ZR_0;
    return;
  }
  const BcdReal value = *x;
  *out = value;
  if (value.exponent < 0) {
    return;
  }
  const uint64_t fraction =
      (mantissa(value) << (4 * (value.exponent + 1))) & ~(uint64_t{0xF} << 60);
  normalise(*out, fraction, -1);
}

void ficeil(BcdReal* out, const BcdReal* x) {
  const BcdReal value = *x;
  integerPart(*out, value);
  if (mantissa(*out) != mantissa(value) && value.sign > 0) {
    add(*out, ZR_1, *out);
  }
}

void fifloor(BcdReal* out, const BcdReal* x) {
  const BcdReal value = *x;
  integerPart(*out, value);
  if (mantissa(*out) != mantissa(value) && value.sign < 0) {
    add(*out, ZR_N1, *out);
  }
}

int32_t fZRToInt(const BcdReal* x) {
  if (x->exponent < 0) {
    return 0;
  }
  const int32_t saturated = x->sign > 0 ? INT32_MAX : INT32_MIN;
  if (x->exponent > 9) {
    return saturated;
  }
  const uint64_t m = mantissa(*x);
  int64_t magnitude = 0;
  for (int i = 14; i >= 14 - x->exponent; --i) {
    magnitude = magnitude * 10 + nibble(m, i);
  }
  if (magnitude > INT32_MAX) {
    return saturated;
  }
  return static_cast<int32_t>(x->sign < 0 ? -magnitude : magnitude);
}

void fIntToZR(int32_t n, BcdReal* out) {
  if (n == 0) {
    *out = ZR_0;
    return;
  }
  // Unsigned magnitude, so that -2147483648 converts exactly.
  uint32_t magnitude = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  uint64_t digits = 0;
  int count = 0;
  for (; magnitude != 0; magnitude /= 10, ++count) {
    digits |= uint64_t{magnitude % 10} << (4 * count);
  }
  *out = BcdReal{n < 0 ? -1 : 1, 0, 0, 0, count - 1, 0};
  setMantissa(*out, digits << (4 * (15 - count)));
}

int fNbSigDigits(const BcdReal* x) {
  return significantDigits(*x);
}

}  // extern "C"
