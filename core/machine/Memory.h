// Nibble access to emulated memory through the page tables. Addresses are 20 bits; an access
// that runs past a page continues in the next page as mapped, and past FFFFF at 00000.
#pragma once

#include <cstdint>

#include "Machine.h"

namespace tavrel::machine {

inline constexpr uint32_t kAddressMask = 0xFFFFF;

namespace detail {
// The two words that hold nibbles a..a+7; the second one may lie in the next page (entry 256
// of the table mirrors page 0, so FFFFx continues at 0000x).
inline uint32_t readWord(const Machine& m, uint32_t a) {
  return m.readPage[(a >> 12) & 0xFF][(a >> 3) & 0x1FF];
}
inline uint32_t readNextWord(const Machine& m, uint32_t a) {
  const uint32_t word = (a >> 3) & 0x1FF;
  const uint32_t page = (a >> 12) & 0xFF;
  return word == 0x1FF ? m.readPage[page + 1][0] : m.readPage[page][word + 1];
}
}  // namespace detail

// The 8 nibbles at a, nibble a in bits 0-3. One past a word boundary (a & 7 == 1) the top
// nibble is 0: no instruction relies on more than 7.
inline uint32_t fetch8(const Machine& m, uint32_t a) {
  a &= kAddressMask;
  const uint32_t shift = (a & 7) * 4;
  const uint32_t low = detail::readWord(m, a) >> shift;
  if (shift <= 4)
    return low;
  return low | (detail::readNextWord(m, a) << (32 - shift));
}

// Up to 8 nibbles at a from the page tables (never the register block), lowest first.
inline uint32_t readNibbles(const Machine& m, uint32_t a, int count) {
  a &= kAddressMask;
  const uint32_t shift = (a & 7) * 4;
  uint32_t value = detail::readWord(m, a) >> shift;
  if (shift != 0 && static_cast<uint32_t>(count) * 4 > 32 - shift) {
    value |= detail::readNextWord(m, a) << (32 - shift);
  }
  return count >= 8 ? value : value & ((1u << (4 * count)) - 1);
}

inline uint32_t read5(const Machine& m, uint32_t a) {
  return readNibbles(m, a, 5);
}
inline uint32_t read2(const Machine& m, uint32_t a) {
  return readNibbles(m, a, 2);
}

// Up to 8 nibbles to a through writePage; nibbles that land in a read-only page are dropped.
void writeNibbles(Machine& m, uint32_t a, uint32_t value, int count);

// Register-sized moves with a field code (0..31): the field's nibbles of the register go to
// or come from memory at a. These reach the register block and the bank switcher.
void readField(Machine& m, uint32_t a, Reg64& r, uint32_t fieldCode);
void writeField(Machine& m, uint32_t a, const Reg64& r, uint32_t fieldCode);

// Moves count nibbles from source upward to destination upward, 16 at a time.
void copyNibbles(Machine& m, uint32_t source, uint32_t destination, uint32_t count);
// Moves the count nibbles that end just below sourceEnd to end just below destinationEnd,
// from the top down (safe when the destination lies above an overlapping source).
void copyNibblesDown(Machine& m, uint32_t sourceEnd, uint32_t destinationEnd, uint32_t count);

}  // namespace tavrel::machine
