// Objects in calculator memory: placing one on the NQS data stack, finding the one at level 1,
// and copying an object out as an image. The machine must not run meanwhile.
#pragma once

#include <cstdint>
#include <vector>

#include "Machine.h"
#include "objects/ObjectFiles.h"

namespace tavrel::core::objects {

// 5-nibble system variables of the calculator's operating system.
inline constexpr std::uint32_t kTemporaryTop = 0x806EE;  // where the next object goes
inline constexpr std::uint32_t kFreeStart = 0x806F3;
inline constexpr std::uint32_t kStackPointer = 0x806F8;  // address of the level-1 entry, or 0
inline constexpr std::uint32_t kFreeUnits = 0x80E9B;     // free memory in 5-nibble units

// Places the object above the temporary objects (a 0 nibble, the object, its size + 6) and
// pushes its address. Every check comes before the first write: when the free memory or the
// layout the system variables describe cannot take the object, the "Not enough free memory"
// failure is raised and memory is as it was.
void insertObject(machine::Machine& m, const ObjectImage& image);

struct StackObject {
  std::uint32_t address = 0;
  std::uint32_t nibbles = 0;  // 5 or less: not a valid object
};

// The object at level 1, sized up to the end of memory. Raises the store failure "No object
// exists ..." when there is no stack or no object there.
StackObject readLevel1(const machine::Machine& m);

// The size of the object at an address, bounded by the end of memory; when that gives 5 or
// less, bounded by 0xFFFF nibbles past its start instead.
std::uint32_t storableObjectSize(const machine::Machine& m, std::uint32_t address);
// The object's nibbles as an image; the high half of an odd object's last byte is 0.
std::vector<std::uint8_t> objectImageAt(const machine::Machine& m, std::uint32_t address,
                                        std::uint32_t nibbles);

}  // namespace tavrel::core::objects
