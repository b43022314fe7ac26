// Shared by the native-call groups: the table type, each group's registration, and register
// helpers beside those of FieldArithmetic.h. Internal to the Native*.cpp files.
#pragma once

#include <array>
#include <cstdint>

#include "FieldArithmetic.h"
#include "Machine.h"
#include "NativeCalls.h"

namespace tavrel::machine::native {

inline constexpr int kNativeCallCount = 256;
using NativeTable = std::array<NativeHandler, kNativeCallCount>;

inline constexpr uint32_t kLow20 = 0xFFFFF;

// Each group enters its handlers by call number.
void addMemoryCalls(NativeTable& table);
void addClockCalls(NativeTable& table);
void addArithmeticCalls(NativeTable& table);
void addDisplayCalls(NativeTable& table);
void addKeyCalls(NativeTable& table);
void addSystemCalls(NativeTable& table);

inline uint64_t value64(const Reg64& r) {
  return (uint64_t{r.hi} << 32) | r.lo;
}
inline void setValue64(Reg64& r, uint64_t v) {
  r.lo = static_cast<uint32_t>(v);
  r.hi = static_cast<uint32_t>(v >> 32);
}
inline uint32_t low20(const Reg64& r) {
  return r.lo & kLow20;
}
// Writes the A field (bits 0-19) and keeps bits 20-63.
inline void setLow20(Reg64& r, uint32_t v) {
  r.lo = (r.lo & ~kLow20) | (v & kLow20);
}
inline uint32_t nibble(const Reg64& r, int n) {
  return ((n < 8 ? r.lo : r.hi) >> (4 * (n & 7))) & 0xF;
}
inline void setNibble(Reg64& r, int n, uint32_t v) {
  uint32_t& word = n < 8 ? r.lo : r.hi;
  const int shift = 4 * (n & 7);
  word = (word & ~(0xFu << shift)) | ((v & 0xF) << shift);
}

}  // namespace tavrel::machine::native
