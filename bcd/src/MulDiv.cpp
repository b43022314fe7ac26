// Multiplication, division, remainder, doubling and halving.
#include <algorithm>

#include "Digits.h"
#include "Real.h"

namespace tavrel::bcd {
namespace {

// 0, y, 2y ... 9y: each quotient or product digit then costs one BCD operation. A record
// from outside may hold nibbles above 9; they select the sums of the multiples their bits
// name, as the digit operations do, so the table then grows to sixteen entries.
struct Multiples {
  uint64_t of[16];
  explicit Multiples(uint64_t y, bool allNibbles = false) {
    of[0] = 0;
    of[1] = y;
    of[2] = bcdAdd(y, y);
    of[3] = bcdAdd(of[2], y);
    of[4] = bcdAdd(of[2], of[2]);
    of[5] = bcdAdd(of[4], y);
    of[6] = bcdAdd(of[3], of[3]);
    of[7] = bcdAdd(of[6], y);
    of[8] = bcdAdd(of[4], of[4]);
    of[9] = bcdAdd(of[8], y);
    if (allNibbles) {
      for (int i = 10; i < 16; ++i) {
        of[i] = bcdAdd(of[8], of[i - 8]);
      }
    }
  }
  // How many times y fits into r, at most 9. BCD values order like their binary words.
  uint32_t fitsInto(uint64_t r) const {
    uint32_t digit = 0;
    for (int i = 1; i <= 9; ++i) {
      digit += r >= of[i];
    }
    return digit;
  }
};

int32_t productSign(const BcdReal& x, const BcdReal& y) {
  return x.sign == y.sign ? 1 : -1;
}

// Truncated product of the two mantissas shifted right by 14 digits; may use nibble 15.
uint64_t productMantissa(uint64_t mx, uint64_t my) {
  const Multiples y(my, hasNonDecimalNibble(mx));
  uint64_t accumulator = 0;
  // Trailing zero digits of x only shift zeros through the accumulator.
  for (int i = lowestNonZeroNibble(mx); i <= 14; ++i) {
    accumulator = bcdAdd(accumulator >> 4, y.of[nibble(mx, i)]);
  }
  return accumulator;
}

int multiply(const BcdReal& x, const BcdReal& y, BcdReal& out, bool normaliseResult) {
  if (isZeroMantissa(x) || isZeroMantissa(y)) {
    out = ZR_0;
    return 0;
  }
  const uint64_t product = productMantissa(mantissa(x), mantissa(y));
  const int64_t exponent = int64_t{x.exponent} + y.exponent;
  BcdReal result{productSign(x, y), 0, 0, 0, 0, 0};
  int status = 0;
  if (normaliseResult) {
    status = normalise(result, product, exponent);
  } else {
    setMantissa(result, product);
    result.exponent = static_cast<int32_t>(exponent);
  }
  out = result;
  return status;
}

int divide(const BcdReal& x, const BcdReal& y, BcdReal& out) {
  if (isZeroMantissa(y)) {
    const bool zero = isZeroMantissa(x);
    const int32_t sign = x.sign;
    out = zero ? ZR_0 : sign > 0 ? ZR_Max : ZR_NMax;
    return zero ? BCD_ZERO_BY_ZERO : BCD_DIVIDE_BY_ZERO;
  }
  if (isZeroMantissa(x)) {
    out = ZR_0;
    return BCD_EXACT;
  }
  const uint64_t divisor = mantissa(y);
  uint64_t remainder = mantissa(x);
  int64_t exponent = int64_t{x.exponent} - y.exponent;
  if (divisor > remainder) {
    remainder <<= 4;
    --exponent;
  }
  const Multiples multiples(divisor);
  uint64_t quotient = 0;
  for (int i = 0; i < 15; ++i) {
    if (i > 0) {
      remainder <<= 4;
    }
    const uint32_t digit = multiples.fitsInto(remainder);
    remainder = bcdSub(remainder, multiples.of[digit]);
    quotient = quotient << 4 | digit;
  }
  BcdReal result{productSign(x, y), 0, 0, 0, 0, 0};
  const int status = normalise(result, quotient, exponent);
  out = result;
  return (remainder != 0 || status != 0) ? BCD_INEXACT : BCD_EXACT;
}

}  // namespace
}  // namespace tavrel::bcd

using namespace tavrel::bcd;

// Declared with the symbol names fmul and fdiv (see the header on libm).
int tavrel_bcd_libm_names::fmul(const BcdReal* x, const BcdReal* y, BcdReal* out) {
  return multiply(*x, *y, *out, true);
}

int tavrel_bcd_libm_names::fdiv(const BcdReal* x, const BcdReal* y, BcdReal* out) {
  return divide(*x, *y, *out);
}

extern "C" {

int fmul_noNorm(const BcdReal* x, const BcdReal* y, BcdReal* out) {
  return multiply(*x, *y, *out, false);
}

int finv(const BcdReal* x, BcdReal* out) {
  return divide(ZR_1, *x, *out);
}

void hfmod(const BcdReal* x, const BcdReal* y, BcdReal* out) {
  if (isZeroMantissa(*x) || isZeroMantissa(*y)) {
    *out = *x;
    return;
  }
  const uint64_t divisor = mantissa(*y);
  uint64_t remainder = mantissa(*x);
  int64_t rounds = int64_t{x->exponent} - y->exponent;
  if (divisor > remainder) {
    remainder <<= 4;
    --rounds;
  }
  // Working values are at most 99998 digit places apart; operands with exponents beyond the
  // working range would otherwise make the loop below run for billions of rounds.
  rounds = std::min(rounds, kMaxExponent - kMinExponent + 15);
  const bool signsDiffer = x->sign != y->sign;
  if (rounds < 0 || magnitudeLess(*x, *y)) {
    if (signsDiffer) {
      add(*x, *y, *out);
    } else {
      *out = *x;
    }
    return;
  }
  const Multiples multiples(divisor);
  for (int64_t round = 0; round <= rounds; ++round) {
    remainder = bcdSub(remainder, multiples.of[multiples.fitsInto(remainder)]);
    if (remainder == 0) {
      break;  // later rounds only shift zeros
    }
    if (round < rounds) {
      remainder <<= 4;
    }
  }
  if (signsDiffer && remainder != 0) {
    remainder = bcdSub(divisor, remainder);
  }
  const BcdReal divisorValue = *y;
  *out = divisorValue;
  normalise(*out, remainder, divisorValue.exponent);
}

int fmul2(const BcdReal* x, BcdReal* out) {
  if (isZeroMantissa(*x)) {
    *out = *x;
    return 0;
  }
  const BcdReal value = *x;
  const uint64_t m = mantissa(value);
  uint64_t doubled = bcdAdd(m, m);
  int64_t exponent = value.exponent;
  int dropped = 0;
  if (overflowNibble(doubled)) {
    dropped = (doubled & 0xF) != 0;
    doubled >>= 4;
    ++exponent;
  }
  *out = value;
  if (exponent > kMaxExponent) {
    *out = value.sign < 0 ? ZR_NMax : ZR_Max;
    return 1;
  }
  setMantissa(*out, doubled);
  out->exponent = static_cast<int32_t>(exponent);
  return dropped;
}

int fdiv2(const BcdReal* x, BcdReal* out) {
  if (isZeroMantissa(*x)) {
    *out = *x;
    return 0;
  }
  const BcdReal value = *x;
  uint64_t half = timesFive(mantissa(value));
  int64_t exponent = value.exponent;
  int dropped = 0;
  if (overflowNibble(half)) {
    dropped = (half & 0xF) != 0;
    half >>= 4;
  } else {
    --exponent;
  }
  if (exponent < kMinExponent) {  // halving the smallest values underflows to zero
    *out = ZR_0;
    return 1;
  }
  *out = value;
  setMantissa(*out, half);
  out->exponent = static_cast<int32_t>(exponent);
  return dropped;
}

}  // extern "C"
