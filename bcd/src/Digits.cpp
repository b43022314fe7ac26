// Exported digit operations on sixteen-digit packed-BCD integers.
#include "Digits.h"
#include "Real.h"

namespace tavrel::bcd {

uint32_t toBcd(uint32_t n) {
  if (n > 99999999u) {
    return 0xFFFFFFFFu;
  }
  uint32_t bcd = 0;
  for (int shift = 0; n != 0; shift += 4, n /= 10) {
    bcd |= (n % 10) << shift;
  }
  return bcd;
}

}  // namespace tavrel::bcd

using namespace tavrel::bcd;

extern "C" {

uint32_t dcbDigit(uint32_t low, uint32_t high, int i) {
  return nibble(join(low, high), i);
}

uint64_t dcbAddAdjust(uint32_t aLow, uint32_t aHigh, uint32_t bLow, uint32_t bHigh) {
  return bcdAdd(join(aLow, aHigh), join(bLow, bHigh));
}

uint64_t dcbSubAdjust(uint32_t bLow, uint32_t bHigh, uint32_t aLow, uint32_t aHigh) {
  return bcdSub(join(aLow, aHigh), join(bLow, bHigh));
}

uint64_t dcbShiftRound(uint64_t v, int n) {
  return shiftRound(v, n);
}

uint64_t dcbMul(uint64_t v, uint32_t flags) {
  uint64_t product = 0;
  for (uint32_t bit = 1; bit <= 8; bit <<= 1, v = bcdAdd(v, v)) {
    if (flags & bit) {
      product = bcdAdd(product, v);
    }
  }
  return product;
}

uint32_t bintobcd(uint32_t n) {
  return toBcd(n);
}

uint64_t dcbtobin(uint64_t v) {
  uint64_t value = 0;
  for (int i = 15; i >= 0; --i) {
    value = value * 10 + nibble(v, i);
  }
  return value;
}

}  // extern "C"
