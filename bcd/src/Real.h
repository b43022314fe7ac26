// Operations on working values that several parts of the library share. The exported C
// functions are thin wrappers over these, so that no call inside the library can bind to a
// same-named symbol of another library in the process.
#pragma once

#include <cstdint>

#include "Digits.h"

namespace tavrel::bcd {

// Stores mantissa m and exponent e into x normalised to fifteen digits and the working
// exponent range; returns 1 when the stored value differs from m * 10^e.
int normalise(BcdReal& x, uint64_t m, int64_t e);

// Rounds x to the twelve packed digits and clamps it to the packed range; returns 1 when
// the value changed (fNorm_L), or, with roundUp, 1 exactly when it rounded up (fNormUp_L).
int roundToPacked(int mode, BcdReal& x, bool roundUp);

int add(const BcdReal& x, const BcdReal& y, BcdReal& out);
void negate(BcdReal& x);

bool magnitudeLess(const BcdReal& x, const BcdReal& y);
bool magnitudeLessEqual(const BcdReal& x, const BcdReal& y);
bool less(const BcdReal& x, const BcdReal& y);
bool lessEqual(const BcdReal& x, const BcdReal& y);

// firnd (nearest) and fitrunc; returns 1 when a non-zero digit was dropped.
int roundToDigits(const BcdReal& x, int n, BcdReal& out, bool nearest);
void integerPart(BcdReal& out, const BcdReal& x);
int significantDigits(const BcdReal& x);

uint32_t toBcd(uint32_t n);

}  // namespace tavrel::bcd
