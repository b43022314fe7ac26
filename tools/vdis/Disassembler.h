// Nibbles back into source that vasm assembles to the same nibbles.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tavrel::vdis {

struct Region {
  std::span<const uint8_t> nibbles;  // one nibble per element
  int64_t address = 0;               // run address of the first nibble
  int bank = -1;                     // >= 0: emit "BANK n" so vasm places the code in that bank
};

// Source text for the region: ORG (and BANK), labels at the targets of jumps inside the
// region, one instruction per line, NIBHEX for nibbles that are no instruction or whose
// instruction would assemble differently. Long runs of zero nibbles are skipped with ORG.
std::string disassemble(const Region& region);

}  // namespace tavrel::vdis
