#include "Runstream.h"

#include "Memory.h"
#include "Processor.h"

namespace tavrel::machine {

namespace {

// Addresses that belong to the ROM's threaded-code interpreter.
constexpr uint32_t kProgramPrologue = 0x028FC;
constexpr uint32_t kProgramInner = 0x03077;
constexpr uint32_t kSemiColon = 0x03130;
constexpr uint32_t kErrorEntry = 0x02E15;

uint32_t low20(const Reg64& r) {
  return r.lo & kAddressMask;
}
void setLow20(Reg64& r, uint32_t v) {
  r.lo = (r.lo & ~kAddressMask) | (v & kAddressMask);
}
uint32_t plus(uint32_t a, uint32_t b) {
  return (a + b) & kAddressMask;
}

// 81B1: A = the next pointer of the stream at D0; continue at what it points to.
uint32_t step(Machine& m) {
  auto& vm = m.vm;
  setLow20(vm.A, read5(m, vm.D0));
  vm.D0 = plus(vm.D0, 5);
  return read5(m, low20(vm.A));
}

enum class Entry { NextObject, Object, FinalCheck };

// B's low word is the loop counter; the loop saves and restores exactly that word.
uint32_t restoreAndReturn(Machine& m) {
  auto& vm = m.vm;
  vm.B.lo = vm.savedB;
  vm.D1 = vm.savedD1;
  vm.carry = 0;
  return popReturn(m);
}

uint32_t walk(Machine& m, uint32_t pc, Entry entry, uint32_t object, bool honourRunning) {
  auto& vm = m.vm;
  for (;;) {
    if (honourRunning && m.running.load(std::memory_order_relaxed) == 0)
      return pc;
    if (entry == Entry::NextObject) {
      object = read5(m, vm.D0);
      vm.D0 = plus(vm.D0, 5);
      entry = Entry::Object;
    }
    if (entry == Entry::Object) {
      vm.D1 = object;
      const uint32_t prologue = read5(m, object);
      if (prologue == kProgramPrologue) {
        const uint32_t inner = read5(m, plus(vm.D1, kAddressMask - 4));
        if (inner != kProgramInner)
          return inner;
        setLow20(vm.B, low20(vm.B) + 1);
        entry = Entry::NextObject;
        continue;
      }
      if (prologue == kSemiColon) {
        if (low20(vm.B) == 0) {
          vm.D0 = plus(vm.D0, kAddressMask - 4);
          return restoreAndReturn(m);
        }
        setLow20(vm.B, low20(vm.B) - 1);
      }
    }
    // Final check.
    if (low20(vm.B) == 0)
      return restoreAndReturn(m);
    entry = Entry::NextObject;
  }
}

}  // namespace

uint32_t runstream(Machine& m, uint32_t pc, uint32_t x, bool honourRunning) {
  auto& vm = m.vm;
  switch (x) {
    case 0x1:
      return step(m);
    case 0x2:
      return low20(vm.A);
    case 0x3:
      return low20(vm.C);
    case 0x4:
      setLow20(vm.A, plus(pc, 4));
      return plus(pc, 4);
    case 0x5:
      setLow20(vm.C, plus(pc, 4));
      return plus(pc, 4);
    case 0x6:
    case 0x7: {
      Reg64& r = x == 6 ? vm.A : vm.C;
      const uint32_t target = low20(r);
      setLow20(r, plus(pc, 4));
      return target;
    }
    case 0x8:
      return walk(m, pc, Entry::NextObject, 0, honourRunning);
    case 0x9:
      return walk(m, pc, Entry::FinalCheck, 0, honourRunning);
    case 0xA:
      vm.savedD1 = vm.D1;
      vm.savedB = vm.B.lo;
      setP(m, 0);
      vm.B.lo = 0;
      if (vm.ST & 2)
        return walk(m, pc, Entry::Object, low20(vm.A), honourRunning);
      return walk(m, pc, Entry::NextObject, 0, honourRunning);
    case 0xB:
      vm.D0 = plus(vm.D0, read5(m, vm.D0));
      return walk(m, pc, Entry::FinalCheck, 0, honourRunning);
    case 0xC:
      vm.D0 = plus(vm.D0, 2 * read2(m, vm.D0) + 2);
      return walk(m, pc, Entry::FinalCheck, 0, honourRunning);
    case 0xD:
      setLow20(vm.B, low20(vm.B) - 5);
      vm.D0 = read5(m, low20(vm.B));
      setLow20(vm.D, low20(vm.D) + 1);
      return step(m);
    case 0xE: {
      if (vm.carry != 0)
        return kErrorEntry;
      const Reg64 pointer{vm.D0, 0};
      writeField(m, low20(vm.B), pointer, kFieldA);
      setLow20(vm.B, low20(vm.B) + 5);
      vm.D0 = plus(low20(vm.A), 5);
      return step(m);
    }
    default:
      return plus(pc, 4);  // 81B0, 81BF
  }
}

}  // namespace tavrel::machine
