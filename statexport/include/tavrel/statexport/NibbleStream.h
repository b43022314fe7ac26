// Bounded access to a string of 4-bit nibbles packed two to a byte, the first in the low half.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrel::statexport {

// Positions are nibble indexes; end is one past the last nibble. Nibbles at or beyond end
// read as 0, so a reader can never touch memory outside the buffer whatever position it is
// handed (positions that wrapped below 0 are simply very large).
class NibbleStream {
 public:
  NibbleStream(const std::uint8_t* bytes, std::size_t byteCount)
      : bytes_(bytes), end_(bytes ? byteCount * 2 : 0) {}

  std::size_t end() const { return end_; }

  // True when the n nibbles from pos all lie before end.
  bool fits(std::size_t pos, std::size_t n) const { return pos <= end_ && n <= end_ - pos; }

  unsigned nibble(std::size_t pos) const {
    if (pos >= end_) {
      return 0;
    }
    const std::uint8_t byte = bytes_[pos / 2];
    return (pos % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
  }

  // The five nibbles pos .. pos+4 as a 20-bit value, the first nibble least significant.
  std::uint32_t readNibbles5(std::size_t pos) const { return readLittle(pos, 5); }

  // The nibbles pos and pos+1 as a byte, the first nibble in the low half.
  std::uint32_t readNibbles2(std::size_t pos) const { return readLittle(pos, 2); }

  // Up to eight nibbles as a value, the first nibble least significant.
  std::uint32_t readLittle(std::size_t pos, unsigned count) const;

  // Appends n nibbles two to a byte (an odd last nibble fills a low half) and advances pos.
  void copyNibbles(std::size_t& pos, std::size_t n, std::vector<std::uint8_t>& out) const;

 private:
  const std::uint8_t* bytes_;
  std::size_t end_;
};

}  // namespace tavrel::statexport
