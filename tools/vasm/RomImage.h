// The ROM image file: a header length byte, seven bank sizes in kilobytes, then the banks,
// two nibbles per byte (first nibble in the low half).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrel::vasm {

inline constexpr uint32_t kRomBankNibbles = 0x40000;  // one window of 64 pages
inline constexpr int kRomBanks = 7;
inline constexpr size_t kRomMaxBytes = 0xE0000;  // the most the machine reads

// Bank k holds nibbles k * 0x40000 .. (k + 1) * 0x40000 - 1 of `nibbles`. Every bank below the
// last one in use is stored whole, so each bank keeps its own pages; the last one is cut to
// the kilobyte that holds its last nibble. Returns an error text, or empty with `image` filled.
std::string buildRomImage(std::span<const uint8_t> nibbles, std::vector<uint8_t>& image);

// The inverse: bank k of the file lands at k * 0x40000. Returns an error text, or empty.
std::string readRomImage(std::span<const uint8_t> image, std::vector<uint8_t>& nibbles);

}  // namespace tavrel::vasm
