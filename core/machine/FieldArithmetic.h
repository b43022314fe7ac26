// Register arithmetic over a field: the binary forms work on the field's mask, the decimal
// forms digit by digit from the field's lowest nibble upward.
#pragma once

#include <cstdint>
#include <cstring>

#include "VendelMachine.h"

namespace tavrel::machine {

inline uint64_t get(const Reg64& r) {
  uint64_t v;
  std::memcpy(&v, &r, sizeof v);
  return v;
}
inline void put(Reg64& r, uint64_t v) {
  std::memcpy(&r, &v, sizeof v);
}
// Replaces the nibbles under mask.
inline void putMasked(Reg64& r, uint64_t value, uint64_t mask) {
  put(r, (get(r) & ~mask) | (value & mask));
}

struct Field {
  uint64_t mask;
  uint32_t start;
  uint32_t length;
};

inline Field fieldOf(const VendelMachine& vm, uint32_t code) {
  const uint32_t start = vm.fieldStart[code] & 0xF;
  const uint32_t length = vm.fieldLength[code];
  return {vm.fieldMask[code], start, length > 16 - start ? 16 - start : length};
}

// d + e (+ the decimal digit rules); carry out in `carry`.
uint64_t decimalAdd(uint64_t d, uint64_t e, const Field& f, uint32_t& carry);
uint64_t decimalSubtract(uint64_t d, uint64_t e, const Field& f, uint32_t& carry);

inline uint64_t fieldAdd(uint64_t d, uint64_t e, const Field& f, bool decimal, uint32_t& carry) {
  if (decimal)
    return decimalAdd(d, e, f, carry);
  const uint64_t a = d & f.mask;
  const uint64_t sum = a + (e & f.mask);
  carry = (sum > f.mask || sum < a) ? 1 : 0;
  return sum;
}

inline uint64_t fieldSubtract(uint64_t d, uint64_t e, const Field& f, bool decimal,
                              uint32_t& carry) {
  if (decimal)
    return decimalSubtract(d, e, f, carry);
  const uint64_t a = d & f.mask;
  const uint64_t b = e & f.mask;
  carry = a < b ? 1 : 0;
  return a - b;
}

// The lowest nibble of the field set to 1: the operand of increment and decrement.
inline uint64_t fieldOne(const Field& f) {
  return uint64_t{1} << (4 * f.start);
}

// Binary add or subtract of a small constant (up to 16) at the field's lowest nibble; the
// constant is not cut to the field, so 16 on a one-nibble field carries out.
uint64_t fieldAddConstant(uint64_t d, uint32_t k, const Field& f, bool subtract, uint32_t& carry);

}  // namespace tavrel::machine
