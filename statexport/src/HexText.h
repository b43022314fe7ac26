// Upper-case hexadecimal digits appended to a text, as the object texts print them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavrel::statexport {

inline char hexDigit(unsigned nibble) {
  return "0123456789ABCDEF"[nibble & 0xF];
}

// The value's lowest `digits` nibbles, most significant first ("%0*X").
inline void appendHex(std::string& text, std::uint32_t value, int digits) {
  for (int i = digits; i-- > 0;) {
    text += hexDigit(value >> (4 * i));
  }
}

// Nibbles kept two to a byte (first nibble in the low half), in stream order.
template <typename Bytes>
void appendNibbleDigits(std::string& text, const Bytes& bytes, std::size_t nibbles) {
  for (std::size_t i = 0; i < nibbles; ++i) {
    const unsigned byte = bytes[i / 2];
    text += hexDigit(i % 2 == 0 ? byte : byte >> 4);
  }
}

}  // namespace tavrel::statexport
