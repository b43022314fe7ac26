// The 64 nibbles of chipset registers at ioBase * 64.
#pragma once

#include <cstdint>

#include "Machine.h"

namespace tavrel::machine {

inline constexpr uint32_t kRegisterBlockNibbles = 64;

// count (1..8) nibbles from register offset `offset`, lowest first; offsets past 3F read 0.
uint32_t readRegisters(Machine& m, uint32_t offset, int count);
// Writes the nibbles of value selected by nibbleMask (0xF per nibble) at offset upward.
void writeRegisters(Machine& m, uint32_t offset, uint32_t value, uint32_t nibbleMask);

}  // namespace tavrel::machine
