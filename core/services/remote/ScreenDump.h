// The remote link's screen dump: the display as the machine's memory holds it, in one block
// with a checksum, sent as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::remote {

inline constexpr std::size_t kScreenBlockBytes = 1095;
inline constexpr std::size_t kScreenTextBytes = 2 * kScreenBlockBytes;

// "S", 0x88, 0x40, the annunciator byte, 64 lines of 17 bytes (the header band from disp0,
// then the main and the menu lines from memory, without line or bit offset), the 16-bit sum
// of the lines' nibbles (low byte first) and "R".
void buildScreenBlock(machine::Machine& m, std::span<std::uint8_t, kScreenBlockBytes> block);

// Each byte as two upper-case hexadecimal digits, low nibble first.
void encodeScreenBlock(std::span<const std::uint8_t, kScreenBlockBytes> block,
                       std::span<std::uint8_t, kScreenTextBytes> text);

}  // namespace tavrel::core::remote
