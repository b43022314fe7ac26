// Normalisation and the conversions between the packed and the working form.
#include "Digits.h"
#include "Real.h"

namespace tavrel::bcd {

int normalise(BcdReal& x, uint64_t m, int64_t e) {
  int changed = 0;
  if (!overflowNibble(m)) {
    if (m == 0) {
      x.sign = 1;
      setMantissa(x, 0);
      x.exponent = 0;
      return 0;
    }
    while (nibble(m, 14) == 0) {
      m <<= 4;
      --e;
    }
  } else {
    changed = (m & 0xF) != 0;
    m >>= 4;
    ++e;
  }
  // Both bounds are checked whichever way the mantissa moved: a product or quotient of
  // normalised values can leave the range without any shift.
  if (e > kMaxExponent) {
    const int32_t sign = x.sign;
    x = sign <= 0 ? ZR_NMax : ZR_Max;
    return 1;
  }
  if (e < kMinExponent) {
    x = ZR_0;
    return 1;
  }
  setMantissa(x, m);
  x.exponent = static_cast<int32_t>(e);
  return changed;
}

int roundToPacked(int mode, BcdReal& x, bool roundUp) {
  if (!roundUp && !isFinite(x)) {
    return 0;
  }
  uint64_t m = mantissa(x);
  int64_t e = x.exponent;
  int changed = 0;
  if (overflowNibble(m)) {
    changed = (m & 0xF) != 0;
    m = shiftRound(m, 1);
    ++e;
    if (overflowNibble(m)) {  // 99...95 rounded up to 10^15: one more exact shift
      m >>= 4;
      ++e;
    }
  }
  const uint32_t tail = static_cast<uint32_t>(m & 0xFFF);
  const bool up = roundUp ? tail >= 0x500
                          : tail > 0x500 || (tail == 0x500 && (mode == 1 || (nibble(m, 3) & 1)));
  changed |= tail != 0;
  m &= ~uint64_t{0xFFF};
  if (up) {
    m = bcdAdd(m, 0x1000);
    if (overflowNibble(m)) {
      m = kLeadingOne;
      ++e;
    }
  }
  if (e >= 500) {
    m = kAllNines;
    e = 499;
    changed = 1;
  } else if (e < -499) {
    changed = m != 0;
    x = ZR_0;
    return roundUp ? up : changed;
  }
  setMantissa(x, m);
  x.exponent = static_cast<int32_t>(e);
  return roundUp ? up : changed;
}

}  // namespace tavrel::bcd

using namespace tavrel::bcd;

extern "C" {

void fUnpack(uint32_t low, uint32_t high, BcdReal* out) {
  const uint64_t packed = join(low, high);
  const uint32_t signNibble = nibble(packed, 15);
  out->sign = signNibble == 0 ? 1 : signNibble == 9 ? -1 : static_cast<int32_t>(signNibble) - 4;
  setMantissa(*out, packed & 0x0FFFFFFFFFFFF000ull);
  const int32_t exponent = nibble(packed, 2) * 100 + nibble(packed, 1) * 10 + nibble(packed, 0);
  out->exponent = exponent >= 500 ? exponent - 1000 : exponent;
}

PackedReal fPack(const BcdReal* x) {
  BcdReal rounded = *x;
  roundToPacked(0, rounded, false);
  const int32_t e = rounded.exponent;
  const uint32_t stored = e < 0 ? static_cast<uint32_t>(e + 1000) : static_cast<uint32_t>(e);
  const uint32_t sign = rounded.sign == 1    ? 0
                        : rounded.sign == -1 ? 9
                                             : (static_cast<uint32_t>(rounded.sign) + 4u) & 0xF;
  return uint64_t{sign} << 60 | (mantissa(rounded) & 0x0FFFFFFFFFFFF000ull) |
         (toBcd(stored) & 0xFFF);
}

int fNorm(BcdReal* x) {
  return normalise(*x, mantissa(*x), x->exponent);
}

int fNorm_L(int mode, BcdReal* x) {
  return roundToPacked(mode, *x, false);
}

int fNormUp_L(BcdReal* x) {
  return roundToPacked(0, *x, true);
}

int fPNaN(uint32_t /*low*/, uint32_t high) {
  return nibble(join(0, high), 15) == 4;
}

}  // extern "C"
