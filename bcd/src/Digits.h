// Word-level BCD arithmetic shared by every part of the library. A mantissa is sixteen
// BCD nibbles; additions and subtractions run on its two 32-bit halves with a carry.
#pragma once

#include <cstdint>

#include "tavrel/bcd.h"

namespace tavrel::bcd {

constexpr int64_t kMaxExponent = 49999;
constexpr int64_t kMinExponent = -49999;
constexpr uint64_t kLeadingOne = 0x0100000000000000ull;  // digit 1 in nibble 14
constexpr uint64_t kAllNines = 0x0999999999999999ull;    // nibbles 0-14 all 9
constexpr uint32_t kNibbleBounds = 0x11111110u;          // carry-in bits of nibbles 1-7

// The +6 bias turns every decimal carry into a binary one; nibbles that did not carry out
// get their 6 back afterwards.
inline uint32_t addHalf(uint32_t a, uint32_t b, uint32_t& carry) {
  const uint64_t biased = uint64_t{a} + 0x66666666u;
  const uint64_t sum = biased + b + carry;
  const uint64_t noCarry = ~(biased ^ b ^ sum) & (uint64_t{kNibbleBounds} | (1ull << 32));
  carry = static_cast<uint32_t>(sum >> 32);
  return static_cast<uint32_t>(sum - ((noCarry >> 2) | (noCarry >> 3)));
}

// A nibble that borrowed holds digit + 16 where digit + 10 is wanted.
inline uint32_t subHalf(uint32_t a, uint32_t b, uint32_t& borrow) {
  const uint64_t diff = uint64_t{a} - b - borrow;
  const uint64_t borrows = (uint64_t{a} ^ b ^ diff) & (uint64_t{kNibbleBounds} | (1ull << 32));
  borrow = static_cast<uint32_t>(borrows >> 32);
  return static_cast<uint32_t>(diff - ((borrows >> 2) | (borrows >> 3)));
}

inline uint32_t lowWord(uint64_t v) {
  return static_cast<uint32_t>(v);
}
inline uint32_t highWord(uint64_t v) {
  return static_cast<uint32_t>(v >> 32);
}
inline uint64_t join(uint32_t low, uint32_t high) {
  return uint64_t{high} << 32 | low;
}

// Sixteen-digit sum; a carry out of nibble 15 is lost.
inline uint64_t bcdAdd(uint64_t a, uint64_t b) {
  uint32_t carry = 0;
  const uint32_t low = addHalf(lowWord(a), lowWord(b), carry);
  const uint32_t high = addHalf(highWord(a), highWord(b), carry);
  return join(low, high);
}

// a - b; when b is larger the result is the ten's complement of b - a.
inline uint64_t bcdSub(uint64_t a, uint64_t b) {
  uint32_t borrow = 0;
  const uint32_t low = subHalf(lowWord(a), lowWord(b), borrow);
  const uint32_t high = subHalf(highWord(a), highWord(b), borrow);
  return join(low, high);
}

inline uint64_t timesFive(uint64_t v) {
  const uint64_t twice = bcdAdd(v, v);
  return bcdAdd(bcdAdd(twice, twice), v);
}

inline uint32_t nibble(uint64_t v, int i) {
  return (i < 0 || i > 15) ? 0 : static_cast<uint32_t>(v >> (4 * i)) & 0xF;
}

inline uint64_t lowNibblesMask(int count) {
  return count >= 16 ? ~0ull : (1ull << (4 * count)) - 1;
}

// A nibble is 10 or more when its bit 3 is set together with bit 2 or bit 1.
inline bool hasNonDecimalNibble(uint64_t v) {
  return ((v >> 3) & ((v >> 2) | (v >> 1)) & 0x1111111111111111ull) != 0;
}

inline bool overflowNibble(uint64_t m) {
  return (m >> 60) != 0;
}

// Lowest non-zero nibble of a non-zero value.
inline int lowestNonZeroNibble(uint64_t m) {
  return __builtin_ctzll(m) / 4;
}

inline uint64_t shiftRound(uint64_t v, int n) {
  if (n <= 0) {
    return v;
  }
  if (n > 16) {
    return 0;
  }
  const uint64_t kept = n == 16 ? 0 : v >> (4 * n);
  return nibble(v, n - 1) >= 5 ? bcdAdd(kept, 1) : kept;
}

inline uint64_t mantissa(const BcdReal& x) {
  return join(x.mantLow, x.mantHigh);
}
inline void setMantissa(BcdReal& x, uint64_t m) {
  x.mantLow = lowWord(m);
  x.mantHigh = highWord(m);
}

inline bool isZeroMantissa(const BcdReal& x) {
  return x.mantHigh == 0;
}
inline bool isFinite(const BcdReal& x) {
  return x.sign == 1 || x.sign == -1;
}
inline bool isZeroValue(const BcdReal& x) {
  return isFinite(x) && isZeroMantissa(x);
}

}  // namespace tavrel::bcd
