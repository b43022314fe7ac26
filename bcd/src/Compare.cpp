// Tests, comparisons, sign operations and the status helper.
#include <climits>

#include "Digits.h"
#include "Real.h"

namespace tavrel::bcd {
namespace {

bool sameMagnitude(const BcdReal& x, const BcdReal& y) {
  return x.exponent == y.exponent && mantissa(x) == mantissa(y);
}

bool identical(const BcdReal& x, const BcdReal& y) {
  return x.sign == y.sign && sameMagnitude(x, y);
}

}  // namespace

bool magnitudeLess(const BcdReal& x, const BcdReal& y) {
  if (isZeroMantissa(y)) {
    return false;
  }
  if (isZeroMantissa(x)) {
    return true;
  }
  return x.exponent != y.exponent ? x.exponent < y.exponent : mantissa(x) < mantissa(y);
}

bool magnitudeLessEqual(const BcdReal& x, const BcdReal& y) {
  if (isZeroMantissa(y)) {
    return isZeroMantissa(x);
  }
  if (isZeroMantissa(x)) {
    return true;
  }
  return x.exponent != y.exponent ? x.exponent < y.exponent : mantissa(x) <= mantissa(y);
}

bool less(const BcdReal& x, const BcdReal& y) {
  if (x.sign != y.sign) {
    return x.sign < y.sign;
  }
  return x.sign == 1 ? magnitudeLess(x, y) : magnitudeLess(y, x);
}

bool lessEqual(const BcdReal& x, const BcdReal& y) {
  if (x.sign != y.sign) {
    return x.sign < y.sign;
  }
  return x.sign == 1 ? magnitudeLessEqual(x, y) : magnitudeLessEqual(y, x);
}

}  // namespace tavrel::bcd

using namespace tavrel::bcd;

extern "C" {

int fLT(const BcdReal* x, const BcdReal* y) {
  return less(*x, *y);
}
int fLE(const BcdReal* x, const BcdReal* y) {
  return lessEqual(*x, *y);
}
int fGT(const BcdReal* x, const BcdReal* y) {
  return less(*y, *x);
}
int fGE(const BcdReal* x, const BcdReal* y) {
  return lessEqual(*y, *x);
}

int fEQ(const BcdReal* x, const BcdReal* y) {
  return (isZeroMantissa(*x) && isZeroMantissa(*y)) || identical(*x, *y);
}

int fNE(const BcdReal* x, const BcdReal* y) {
  return !((isZeroValue(*x) && isZeroValue(*y)) || identical(*x, *y));
}

int fMLT(const BcdReal* x, const BcdReal* y) {
  return magnitudeLess(*x, *y);
}
int fMLE(const BcdReal* x, const BcdReal* y) {
  return magnitudeLessEqual(*x, *y);
}
int fMGT(const BcdReal* x, const BcdReal* y) {
  return magnitudeLess(*y, *x);
}
int fMGE(const BcdReal* x, const BcdReal* y) {
  return magnitudeLessEqual(*y, *x);
}
int fMEQ(const BcdReal* x, const BcdReal* y) {
  return sameMagnitude(*x, *y);
}
int fMNE(const BcdReal* x, const BcdReal* y) {
  return !sameMagnitude(*x, *y);
}

int fZero(const BcdReal* x) {
  return isZeroValue(*x);
}
int fMZero(const BcdReal* x) {
  return isZeroMantissa(*x);
}
int fFinite(const BcdReal* x) {
  return isFinite(*x);
}
int fPos(const BcdReal* x) {
  return x->sign > 0;
}
int fNeg(const BcdReal* x) {
  return x->sign < 0;
}
int fiSignEQ(const BcdReal* x, const BcdReal* y) {
  return x->sign == y->sign;
}

int fiParity(const BcdReal* x) {
  if (x->exponent < 0 || x->exponent > 14) {
    return 1;
  }
  return (nibble(mantissa(*x), 14 - x->exponent) & 1) ? -1 : 1;
}

int fiInteger(const BcdReal* x) {
  if (x->exponent > 14) {
    return 1;
  }
  if (x->exponent < 0) {
    return 0;
  }
  return (mantissa(*x) & lowNibblesMask(14 - x->exponent)) == 0;
}

void fichs(BcdReal* x) {
  negate(*x);
}

void fiabs(BcdReal* x) {
  if (x->sign < 0) {
    x->sign = x->sign == INT32_MIN ? INT32_MAX : -x->sign;
  }
}

void fimin(BcdReal* out, const BcdReal* x, const BcdReal* y) {
  *out = less(*x, *y) ? *x : *y;
}

void fimax(BcdReal* out, const BcdReal* x, const BcdReal* y) {
  *out = less(*y, *x) ? *x : *y;
}

int fError(int code) {
  return code == 0 || code == 1;
}

}  // extern "C"
