// Native calls 30-35: the disp0 display buffer and the header band it feeds.
#include <algorithm>
#include <cstdint>

#include "Display.h"
#include "MemoryMap.h"
#include "NativeSupport.h"

namespace tavrel::machine::native {
namespace {

constexpr uint32_t kMaxHeaderLines = 64;
constexpr uint32_t kHeaderOffsetMask = 0x7FF;

// 30: disp0 at page (C >> 12) and the next; moving it first puts the old header on screen.
uint32_t mapDisplayBuffer(Machine& m, uint32_t resume) {
  const uint32_t page = (m.vm.C.lo >> 12) & 0xFF;
  if (m.vm.disp0Page == page)
    return resume;
  if (m.vm.disp0Page != 0) {
    unmapDisp0(m);
    copyHeader(m);
  }
  mapDisp0(m, page);
  return resume;
}

// 31: take disp0 out of the address space and show its header.
uint32_t unmapDisplayBuffer(Machine& m, uint32_t resume) {
  if (m.vm.disp0Page != 0)
    unmapDisp0(m);
  copyHeader(m);
  return resume;
}

uint32_t showHeader(Machine& m, uint32_t resume) {
  copyHeader(m);
  return resume;
}

uint32_t setHeaderLines(Machine& m, uint32_t resume) {
  m.vm.headerLines = std::min(m.vm.C.lo & 0xFF, kMaxHeaderLines);
  copyHeader(m);
  return resume;
}

uint32_t setHeaderOffset(Machine& m, uint32_t resume) {
  m.vm.headerOffset = m.vm.C.lo & kHeaderOffsetMask;
  return resume;
}

uint32_t getHeaderLines(Machine& m, uint32_t resume) {
  setLow20(m.vm.C, m.vm.headerLines);
  return resume;
}

}  // namespace

void addDisplayCalls(NativeTable& table) {
  table[0x30] = &mapDisplayBuffer;
  table[0x31] = &unmapDisplayBuffer;
  table[0x32] = &showHeader;
  table[0x33] = &setHeaderLines;
  table[0x34] = &setHeaderOffset;
  table[0x35] = &getHeaderLines;
}

}  // namespace tavrel::machine::native
