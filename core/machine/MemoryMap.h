// The page tables: which buffer page each of the 256 pages reads and writes. Every change
// goes through setPage so the record's image addresses and the real pointers stay in step.
#pragma once

#include <cstdint>
#include <span>

#include "Machine.h"

namespace tavrel::machine {

inline constexpr uint32_t kPort0Priority = 5;
inline constexpr uint32_t kPort1Priority = 2;
inline constexpr uint32_t kPort2Priority = 3;
inline constexpr uint32_t kPagesPerBank = 64;

// Points page (0..255) at the buffer page with the given image address; a zero writeImage
// makes the page read-only.
void setPage(Machine& m, uint32_t page, uint32_t readImage, uint32_t writeImage, uint32_t priority);
// Entry 256 mirrors entry 0, for accesses that run past FFFFF.
void refreshMirrorEntry(Machine& m);

// Maps pageCount pages of buffer (an image address) from the page aligned down to a multiple
// of pageCount, over pages of lower priority only. A module larger than bufferPages is clamped
// to its buffer.
void mapModule(Machine& m, uint32_t page, uint32_t priority, uint32_t buffer, uint32_t pageCount,
               uint32_t bufferPages, bool writable);
void rebuildMap(Machine& m);
void chipsetReset(Machine& m);
// A write into the bank switcher's page at address a.
void switchBank(Machine& m, uint32_t a);
void mapDisp0(Machine& m, uint32_t page);
void unmapDisp0(Machine& m);

// Host memory behind an image address: the bytes from there to the end of its buffer (empty
// for an address outside every buffer). Used for host nibble positions.
std::span<uint8_t> imageBytes(const Machine& m, uint32_t imageAddress);

}  // namespace tavrel::machine
