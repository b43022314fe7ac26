// Native calls that speed up the ROM's runstream steps, block moves and memory allocation.
#include <cstdint>
#include <optional>

#include "Memory.h"
#include "NativeSupport.h"
#include "Processor.h"

namespace tavrel::machine::native {
namespace {

constexpr uint32_t kSystemArea = 0x80E00;        // byte table indexed by C bits 0-7
constexpr uint32_t kCounterExhausted = 0x03A9B;  // where call 03 goes when D runs out
constexpr uint32_t kCall04Address = 0x03AC0;

// The ROM's free-memory pointers.
constexpr uint32_t kFreeTop = 0x806EE;
constexpr uint32_t kFreeBase = 0x806F3;
constexpr uint32_t kFreeLimit = 0x806F8;
constexpr uint32_t kFreeCount = 0x80E9B;
constexpr uint32_t kLargestAllocation = 0x80000;
constexpr uint32_t kAllocationOverhead = 6;

uint32_t add20(uint32_t a, uint32_t b) {
  return (a + b) & kLow20;
}

// 00: A = the next runstream pointer, D0 past it, continue at what it points to.
uint32_t runstreamStep(Machine& m, uint32_t) {
  VendelMachine& vm = m.vm;
  setLow20(vm.A, read5(m, vm.D0));
  vm.D0 = add20(vm.D0, 5);
  return read5(m, low20(vm.A));
}

// 01: A = D0, D0 points into the system byte table.
uint32_t pointIntoSystemArea(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  setLow20(vm.A, vm.D0);
  vm.D0 = kSystemArea + (vm.C.lo & 0xFF);
  setNibble(vm.C, 5, nibble(vm.C, 2));
  setP(m, 5);
  return resume;
}

// 02: carry = a system-area nibble masked with C nibble 2.
uint32_t testSystemArea(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  vm.carry = readNibbles(m, kSystemArea + (vm.C.lo & 0xFF), 1) & nibble(vm.C, 2);
  return resume;
}

// 03: counted loop step: push A on the D1 stack and take the next runstream step.
uint32_t countedPush(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  const bool exhausted = (vm.D.lo & kLow20) == 0;
  vm.D.lo -= 1;
  if (exhausted)
    return kCounterExhausted;
  vm.D1 = (vm.D1 - 5) & kLow20;
  writeField(m, vm.D1, vm.A, kFieldA);
  return runstreamStep(m, resume);
}

uint32_t countedPushFrom03AC0(Machine& m, uint32_t resume) {
  setP(m, 0);
  setLow20(m.vm.A, kCall04Address);
  return countedPush(m, resume);
}

// 06: C nibbles from D0 upward to D1 upward.
uint32_t moveUp(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  const uint32_t count = low20(vm.C);
  copyNibbles(m, vm.D0, vm.D1, count);
  vm.D0 = add20(vm.D0, count);
  vm.D1 = add20(vm.D1, count);
  setP(m, 0);
  vm.carry = 0;
  return resume;
}

// 07: the C nibbles ending below D0 to end below D1, top down.
uint32_t moveDown(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  const uint32_t count = low20(vm.C);
  copyNibblesDown(m, vm.D0, vm.D1, count);
  vm.D0 = (vm.D0 - count) & kLow20;
  vm.D1 = (vm.D1 - count) & kLow20;
  setP(m, 0);
  vm.carry = 0;
  return resume;
}

// Opens `size` nibbles at the top of the ROM's free area by moving the block below the base
// up; returns the start of the gap plus one, or nothing when there is no room. A limit below
// the base means the pointers are damaged: there is no room then either.
std::optional<uint32_t> allocate(Machine& m, uint32_t request) {
  const uint32_t size = request + kAllocationOverhead;
  const uint32_t top = read5(m, kFreeTop);
  const uint32_t base = read5(m, kFreeBase);
  const uint32_t limit = read5(m, kFreeLimit);
  if (request >= kLargestAllocation || limit < base || limit - base < size) {
    return std::nullopt;
  }
  writeNibbles(m, kFreeCount, (limit - base - size) / 5, 5);
  const uint32_t newTop = add20(top, size);
  const uint32_t newBase = add20(base, size);
  writeNibbles(m, kFreeTop, newTop, 5);
  writeNibbles(m, kFreeBase, newBase, 5);
  copyNibblesDown(m, base, newBase, (newBase - newTop) & kLow20);
  writeNibbles(m, (newTop - 5) & kLow20, size, 5);
  return add20(top, 1);
}

// 08: allocate C + 6 nibbles.
uint32_t allocateObject(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  const uint32_t request = low20(vm.C);
  const uint32_t size = request + kAllocationOverhead;
  if (const std::optional<uint32_t> result = allocate(m, request)) {
    vm.D0 = *result;
    vm.D1 = add20(*result, request);
    vm.carry = 0;
  } else {
    vm.carry = 1;
  }
  setLow20(vm.B, size);
  setLow20(vm.C, size);
  setP(m, 0);
  return resume;
}

// 17: five nibbles from a host system data area that this core does not have: zeros.
uint32_t writeSystemData(Machine& m, uint32_t resume) {
  writeNibbles(m, m.vm.D1, 0, 5);
  return resume;
}

}  // namespace

void addMemoryCalls(NativeTable& table) {
  table[0x00] = &runstreamStep;
  table[0x01] = &pointIntoSystemArea;
  table[0x02] = &testSystemArea;
  table[0x03] = &countedPush;
  table[0x04] = &countedPushFrom03AC0;
  table[0x06] = &moveUp;
  table[0x07] = &moveDown;
  table[0x08] = &allocateObject;
  table[0x17] = &writeSystemData;
}

}  // namespace tavrel::machine::native
