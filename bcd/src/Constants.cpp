// Exported constants.
#include "Digits.h"

namespace {

constexpr BcdReal real(int32_t sign, uint64_t m, int32_t exponent) {
  return BcdReal{sign, 0, static_cast<uint32_t>(m), static_cast<uint32_t>(m >> 32), exponent, 0};
}

constexpr uint64_t digit(uint64_t d) {
  return d << 56;
}

}  // namespace

extern "C" {

const BcdReal ZR_0 = real(1, 0, 0);
const BcdReal ZR_N0 = real(-1, 0, 0);
const BcdReal ZR_1 = real(1, digit(1), 0);
const BcdReal ZR_2 = real(1, digit(2), 0);
const BcdReal ZR_3 = real(1, digit(3), 0);
const BcdReal ZR_4 = real(1, digit(4), 0);
const BcdReal ZR_5 = real(1, digit(5), 0);
const BcdReal ZR_6 = real(1, digit(6), 0);
const BcdReal ZR_7 = real(1, digit(7), 0);
const BcdReal ZR_8 = real(1, digit(8), 0);
const BcdReal ZR_9 = real(1, digit(9), 0);
const BcdReal ZR_N1 = real(-1, digit(1), 0);
const BcdReal ZR_N2 = real(-1, digit(2), 0);
const BcdReal ZR_N3 = real(-1, digit(3), 0);
const BcdReal ZR_10 = real(1, digit(1), 1);
const BcdReal ZR_11 = real(1, digit(1) | digit(1) >> 4, 1);
const BcdReal ZR_50 = real(1, digit(5), 1);
const BcdReal ZR_Max = real(1, tavrel::bcd::kAllNines, 49999);
const BcdReal ZR_NMax = real(-1, tavrel::bcd::kAllNines, 49999);
const BcdReal ZR_Min = real(1, digit(1), -49999);
const BcdReal ZR_NMin = real(-1, digit(1), -49999);

const uint64_t MinMantisa = 1;

// Packed: sign nibble 15, mantissa nibbles 3-14, exponent nibbles 0-2.
const PackedReal PZR_0 = 0;
const PackedReal PZR_1 = digit(1);
const PackedReal PZR_2 = digit(2);
const PackedReal PZR_3 = digit(3);
const PackedReal PZR_12 = digit(1) | digit(2) >> 4 | 1;
const PackedReal PZR_100 = digit(1) | 2;
const PackedReal PZR_200 = digit(2) | 2;

}  // extern "C"
