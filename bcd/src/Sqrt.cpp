// Square root by subtraction of successive odd multiples of five: the radicand is taken
// two digits at a time, and the subtrahend b = 100 q + 10 j + 5 carries the root q found
// so far, so the root falls out of b without any multiplication.
#include "Digits.h"
#include "Real.h"

namespace tavrel::bcd {
namespace {

// The running remainder needs one or two digits more than a mantissa holds.
struct WideRemainder {
  uint64_t low = 0;
  uint32_t high = 0;

  bool isZero() const { return low == 0 && high == 0; }
  bool atLeast(uint64_t b) const { return high != 0 || low >= b; }

  void subtract(uint64_t b) {
    uint32_t borrow = 0;
    const uint32_t l = subHalf(lowWord(low), lowWord(b), borrow);
    const uint32_t h = subHalf(highWord(low), highWord(b), borrow);
    high = subHalf(high, 0, borrow);
    low = join(l, h);
  }

  // remainder * 100 + addend
  void shiftInPair(uint64_t addend) {
    high = high << 8 | static_cast<uint32_t>(low >> 56);
    const uint64_t shifted = low << 8;
    uint32_t carry = 0;
    const uint32_t l = addHalf(lowWord(shifted), lowWord(addend), carry);
    const uint32_t h = addHalf(highWord(shifted), highWord(addend), carry);
    high = addHalf(high, 0, carry);
    low = join(l, h);
  }
};

int squareRoot(const BcdReal& x, BcdReal& out) {
  if (isZeroMantissa(x)) {
    out = x;
    return BCD_EXACT;
  }
  if (x.sign < 0) {
    out = ZR_0;
    return BCD_NEGATIVE_ROOT;
  }
  // With an odd exponent the first pair is the two leading digits, otherwise 0 and the
  // leading digit; fifteen pairs give fifteen root digits.
  const bool oddExponent = (x.exponent & 1) != 0;
  const uint64_t radicand = oddExponent ? mantissa(x) << 4 : mantissa(x);
  constexpr int kPairs = 15;
  constexpr int kRadicandPairs = 8;
  WideRemainder a;
  uint64_t b = 5;
  uint64_t root = 0;
  for (int i = 0; i < kPairs; ++i) {
    const uint64_t pair = i < kRadicandPairs ? (radicand >> (56 - 8 * i)) & 0xFF : 0;
    if (i > 0) {
      b = (b & ~uint64_t{0xF}) << 4 | 5;
    }
    a.shiftInPair(timesFive(pair));
    for (int j = 0; j < 9 && a.atLeast(b); ++j) {
      a.subtract(b);
      b += 0x10;  // the digit j never exceeds 9, so no decimal carry
    }
    root = b >> 4;
    if (a.isZero() && i >= kRadicandPairs - 1) {
      root <<= 4 * (kPairs - 1 - i);  // only zero digits remain
      break;
    }
  }
  BcdReal result{1, 0, 0, 0, 0, 0};
  const int dropped = normalise(result, root, x.exponent >> 1);
  out = result;
  return (!a.isZero() || dropped) ? BCD_INEXACT : BCD_EXACT;
}

}  // namespace
}  // namespace tavrel::bcd

// Declared with the symbol name fsqrt (see the header on libm).
int tavrel_bcd_libm_names::fsqrt(const BcdReal* x, BcdReal* out) {
  return tavrel::bcd::squareRoot(*x, *out);
}
