// Sizes calculator objects in memory from their prologs. Works on host nibble positions
// (2 * image address + nibble) and never reads outside the regions it is given: running
// out of them counts as reaching the limit.
#pragma once

#include <cstdint>
#include <span>

namespace tavrel::machine {

struct Machine;

// A stretch of readable memory: nibble positions firstPosition.. (even), two nibbles a byte,
// the low nibble first.
struct NibbleRegion {
  uint64_t firstPosition;
  std::span<const uint8_t> bytes;
};

// Result of objectSize when the walk reaches the limit, leaves the regions or meets an
// invalid directory.
inline constexpr uint32_t kObjectWalkFailed = 1;

// The size in nibbles of the object at position `start`, which must end by `limit`. A
// non-zero prolog is taken as the object's prolog, its body beginning at start.
uint32_t objectSize(std::span<const NibbleRegion> memory, uint32_t start, uint32_t limit,
                    uint32_t prolog = 0);
// The same over the machine's buffers.
uint32_t objectSize(const Machine& m, uint32_t start, uint32_t limit, uint32_t prolog = 0);

// Host nibble position of an emulated address, as reads see it.
uint32_t hostNibblePosition(const Machine& m, uint32_t address);

}  // namespace tavrel::machine
