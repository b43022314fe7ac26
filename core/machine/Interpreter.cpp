#include "Interpreter.h"

#include <atomic>

#include "Configuration.h"
#include "FieldArithmetic.h"
#include "Keyboard.h"
#include "Memory.h"
#include "MemoryMap.h"
#include "NativeCalls.h"
#include "Processor.h"
#include "ProcessorAccess.h"
#include "Runstream.h"
#include "Timers.h"

namespace tavrel::machine {

namespace {

using RegisterOf = Reg64 VendelMachine::*;
struct RegisterPair {
  RegisterOf destination;
  RegisterOf source;
};

constexpr RegisterOf kWorking[4] = {&VendelMachine::A, &VendelMachine::B, &VendelMachine::C,
                                    &VendelMachine::D};
constexpr RegisterOf kScratch[5] = {&VendelMachine::R0, &VendelMachine::R1, &VendelMachine::R2,
                                    &VendelMachine::R3, &VendelMachine::R4};
// A=A+B, B=B+C, C=C+A, D=D+C and the same pairs for tests and copies.
constexpr RegisterPair kFirstPairs[4] = {{&VendelMachine::A, &VendelMachine::B},
                                         {&VendelMachine::B, &VendelMachine::C},
                                         {&VendelMachine::C, &VendelMachine::A},
                                         {&VendelMachine::D, &VendelMachine::C}};
// B=B+A, C=C+B, A=A+C, C=C+D.
constexpr RegisterPair kSecondPairs[4] = {{&VendelMachine::B, &VendelMachine::A},
                                          {&VendelMachine::C, &VendelMachine::B},
                                          {&VendelMachine::A, &VendelMachine::C},
                                          {&VendelMachine::C, &VendelMachine::D}};
// Equality tests compare A-B, B-C, A-C, C-D.
constexpr RegisterPair kEqualityPairs[4] = {{&VendelMachine::A, &VendelMachine::B},
                                            {&VendelMachine::B, &VendelMachine::C},
                                            {&VendelMachine::A, &VendelMachine::C},
                                            {&VendelMachine::C, &VendelMachine::D}};

inline uint32_t nibble(uint32_t w, int i) {
  return (w >> (4 * i)) & 0xF;
}
inline uint32_t next(uint32_t pc, uint32_t length) {
  return (pc + length) & kAddressMask;
}
inline int32_t signed8(uint32_t v) {
  return static_cast<int8_t>(v & 0xFF);
}
inline int32_t signed12(uint32_t v) {
  return static_cast<int32_t>(v << 20) >> 20;
}
inline int32_t signed16(uint32_t v) {
  return static_cast<int16_t>(v & 0xFFFF);
}
inline uint32_t relative(uint32_t base, int32_t offset) {
  return (base + static_cast<uint32_t>(offset)) & kAddressMask;
}
inline uint32_t low20(const Reg64& r) {
  return r.lo & kAddressMask;
}
inline void setLow20(Reg64& r, uint32_t v) {
  r.lo = (r.lo & ~kAddressMask) | (v & kAddressMask);
}
inline uint32_t nibbleOf(const Reg64& r, uint32_t n) {
  return static_cast<uint32_t>(get(r) >> (4 * n)) & 0xF;
}
inline void setNibble(Reg64& r, uint32_t n, uint32_t v) {
  putMasked(r, uint64_t{v} << (4 * n), uint64_t{0xF} << (4 * n));
}

// A test: carry = result; when true the offset yy at yyAddress returns (00) or jumps.
inline uint32_t test(Machine& m, bool result, uint32_t pc, uint32_t length, uint32_t yy,
                     uint32_t yyAddress) {
  m.vm.carry = result ? 1 : 0;
  if (!result)
    return next(pc, length);
  if (yy == 0)
    return popReturn(m);
  return relative(yyAddress, signed8(yy));
}

// Tests over a field: a < 8 equality and zero tests, otherwise unsigned comparisons.
inline bool fieldTest(const VendelMachine& vm, bool ordered, uint32_t t, uint64_t mask) {
  if (!ordered) {
    if (t < 8) {
      const RegisterPair& p = kEqualityPairs[t & 3];
      const bool equal = ((get(vm.*p.destination) ^ get(vm.*p.source)) & mask) == 0;
      return (t < 4) == equal;
    }
    const bool zero = (get(vm.*kWorking[t & 3]) & mask) == 0;
    return (t < 12) == zero;
  }
  const RegisterPair& p = kFirstPairs[t & 3];
  const uint64_t x = get(vm.*p.destination) & mask;
  const uint64_t y = get(vm.*p.source) & mask;
  switch (t >> 2) {
    case 0:
      return x > y;
    case 1:
      return x < y;
    case 2:
      return x >= y;
    default:
      return x <= y;
  }
}

// Group A with a < 8 and group C: additions, doubling, decrement.
inline void addRow(VendelMachine& vm, uint32_t t, const Field& f) {
  const bool decimal = vm.decimal != 0;
  if (t < 4 || (t >= 8 && t < 12)) {
    const RegisterPair& p = t < 4 ? kFirstPairs[t] : kSecondPairs[t - 8];
    Reg64& d = vm.*p.destination;
    putMasked(d, fieldAdd(get(d), get(vm.*p.source), f, decimal, vm.carry), f.mask);
  } else if (t < 8) {
    Reg64& d = vm.*kWorking[t - 4];
    putMasked(d, fieldAdd(get(d), get(d), f, decimal, vm.carry), f.mask);
  } else {
    Reg64& d = vm.*kWorking[t - 12];
    putMasked(d, fieldSubtract(get(d), fieldOne(f), f, decimal, vm.carry), f.mask);
  }
}

// Group A with a >= 8 and group D: clear, copy, exchange.
inline void copyRow(VendelMachine& vm, uint32_t t, const Field& f) {
  if (t < 4) {
    putMasked(vm.*kWorking[t], 0, f.mask);
  } else if (t < 12) {
    const RegisterPair& p = t < 8 ? kFirstPairs[t - 4] : kSecondPairs[t - 8];
    putMasked(vm.*p.destination, get(vm.*p.source), f.mask);
  } else {
    const RegisterPair& p = kEqualityPairs[t - 12];
    const uint64_t x = get(vm.*p.destination);
    putMasked(vm.*p.destination, get(vm.*p.source), f.mask);
    putMasked(vm.*p.source, x, f.mask);
  }
}

// Group B with a < 8 and group E: subtractions, increment, reverse subtractions.
inline void subtractRow(VendelMachine& vm, uint32_t t, const Field& f) {
  const bool decimal = vm.decimal != 0;
  if (t < 4 || (t >= 8 && t < 12)) {
    const RegisterPair& p = t < 4 ? kFirstPairs[t] : kSecondPairs[t - 8];
    Reg64& d = vm.*p.destination;
    putMasked(d, fieldSubtract(get(d), get(vm.*p.source), f, decimal, vm.carry), f.mask);
  } else if (t < 8) {
    Reg64& d = vm.*kWorking[t - 4];
    putMasked(d, fieldAdd(get(d), fieldOne(f), f, decimal, vm.carry), f.mask);
  } else {
    // A=B-A, B=C-B, C=A-C, D=C-D
    const RegisterPair& p = kFirstPairs[t - 12];
    Reg64& d = vm.*p.destination;
    putMasked(d, fieldSubtract(get(vm.*p.source), get(d), f, decimal, vm.carry), f.mask);
  }
}

// Group B with a >= 8 and group F: nibble shifts, negation, complement.
inline void shiftRow(VendelMachine& vm, uint32_t t, const Field& f) {
  Reg64& d = vm.*kWorking[t & 3];
  const uint64_t v = get(d) & f.mask;
  switch (t >> 2) {
    case 0: {
      const uint32_t top = f.start + f.length - 1;
      if (f.length != 0 && ((v >> (4 * (top & 0xF))) & 0xF) != 0)
        vm.HST |= 2;
      putMasked(d, v << 4, f.mask);
      break;
    }
    case 1:
      if (((v >> (4 * f.start)) & 0xF) != 0)
        vm.HST |= 2;
      putMasked(d, v >> 4, f.mask);
      break;
    case 2:
      if (vm.decimal != 0) {
        putMasked(d, decimalSubtract(0, v, f, vm.carry), f.mask);
      } else {
        vm.carry = v != 0 ? 1 : 0;
        putMasked(d, uint64_t{0} - v, f.mask);
      }
      break;
    default:
      if (vm.decimal != 0) {
        putMasked(d, decimalSubtract(0x9999999999999999ull, v, f, vm.carry), f.mask);
      } else {
        vm.carry = 0;
        putMasked(d, ~v, f.mask);
      }
      break;
  }
}

// 3n / 8082n: n + 1 nibbles into the register from nibble P upward, wrapping at 15.
inline void loadConstant(Machine& m, Reg64& r, uint32_t w, uint32_t firstNibble, uint32_t n,
                         uint32_t address) {
  uint64_t value;
  if (firstNibble + n + 1 <= 7) {
    value = (w >> (4 * firstNibble)) & ((1u << (4 * (n + 1))) - 1);
  } else {
    Reg64 constant{0, 0};
    readField(m, address, constant, kFieldCount1 + n);
    value = get(constant);
  }
  const uint32_t shift = 4 * m.vm.P;
  const uint64_t count = n >= 15 ? ~uint64_t{0} : (uint64_t{1} << (4 * (n + 1))) - 1;
  auto rotate = [shift](uint64_t x) { return shift == 0 ? x : (x << shift) | (x >> (64 - shift)); };
  putMasked(r, rotate(value), rotate(count));
}

// 14x / 15xy: the eight memory moves through D0 and D1.
inline void memoryMove(Machine& m, uint32_t operation, uint32_t fieldCode) {
  auto& vm = m.vm;
  Reg64& r = (operation & 4) ? vm.C : vm.A;
  const uint32_t address = (operation & 1) ? vm.D1 : vm.D0;
  if (operation & 2) {
    readField(m, address, r, fieldCode);
  } else {
    writeField(m, address, r, fieldCode);
  }
}

uint32_t shutdown(Machine& m, uint32_t pc) {
  auto& vm = m.vm;
  MachineHost& host = *m.host;
  vm.PC = pc;
  host.releaseProcessor();
  std::atomic_ref<uint32_t> asleep(vm.shutDown);  // read by other tasks
  asleep.store(1, std::memory_order_relaxed);
  host.postMessage(3, 0, 0);
  std::atomic_ref<uint32_t> pending(vm.interruptPending);
  bool awake = false;
  if ((vm.timer1Control & kTimerWake) && (readTimer1(m) & 8)) {
    awake = true;
    if (vm.timer1Control & kTimerInterrupt)
      pending.fetch_or(1, std::memory_order_relaxed);
  }
  if ((vm.timer2Control & kTimerWake) && static_cast<int32_t>(readTimer2(m)) < 0) {
    awake = true;
    if (vm.timer2Control & kTimerInterrupt)
      pending.fetch_or(1, std::memory_order_relaxed);
  }
  if (!awake)
    host.waitForWakeUp();
  asleep.store(0, std::memory_order_relaxed);
  host.postMessage(3, 1, 0);
  host.acquireProcessor();
  return vm.PC == pc ? next(pc, 3) : vm.PC & kAddressMask;
}

uint32_t group80(Machine& m, uint32_t pc, uint32_t w) {
  auto& vm = m.vm;
  const uint32_t n2 = nibble(w, 2);
  const uint32_t n3 = nibble(w, 3);
  switch (n2) {
    case 0x0:
      writeKeyOut(m, (vm.keyOut & 0xFF0) | (vm.C.lo & 0xF));
      return next(pc, 3);
    case 0x1:
      writeKeyOut(m, vm.C.lo & 0xFFF);
      return next(pc, 3);
    case 0x2:
      vm.A.lo = (vm.A.lo & 0xFFFF0000) | (readKeyIn(m) & 0xFFFF);
      return next(pc, 3);
    case 0x3:
      vm.C.lo = (vm.C.lo & 0xFFFF0000) | (readKeyIn(m) & 0xFFFF);
      return next(pc, 3);
    case 0x4:
      unconfigure(m);
      return next(pc, 3);
    case 0x5:
      configure(m);
      return next(pc, 3);
    case 0x6:
      return next(pc, 3);
    case 0x7:
      return shutdown(m, pc);
    case 0x8:
      break;
    case 0x9: {
      const Field f = fieldOf(vm, kFieldA);
      putMasked(vm.C, fieldAddConstant(get(vm.C), vm.P + 1, f, false, vm.carry), f.mask);
      return next(pc, 3);
    }
    case 0xA:
      chipsetReset(m);
      return next(pc, 3);
    case 0xB:
      return callNative(m, (w >> 12) & 0xFF, next(pc, 5)) & kAddressMask;
    case 0xC:
      setNibble(vm.C, n3, vm.P);
      return next(pc, 4);
    case 0xD:
      setP(m, nibbleOf(vm.C, n3));
      return next(pc, 4);
    case 0xE:
      return next(pc, 3);
    default: {
      const uint32_t p = vm.P;
      setP(m, nibbleOf(vm.C, n3));
      setNibble(vm.C, n3, p);
      return next(pc, 4);
    }
  }
  // 808x
  const uint32_t n4 = nibble(w, 4);
  const uint32_t yy = (w >> 20) & 0xFF;
  switch (n3) {
    case 0x0:
      vm.interruptsEnabled = 1;
      keyboardCheck(m);
      return next(pc, 4);
    case 0x1:
      if (n4 == 0)
        keyboardCheck(m);
      return next(pc, 5);
    case 0x2:
      loadConstant(m, vm.A, w, 5, n4, next(pc, 5));
      return next(pc, n4 + 6);
    case 0x4:
      vm.A.lo &= ~(1u << n4);
      return next(pc, 5);
    case 0x5:
      vm.A.lo |= 1u << n4;
      return next(pc, 5);
    case 0x6:
      return test(m, ((vm.A.lo >> n4) & 1) == 0, pc, 7, yy, next(pc, 5));
    case 0x7:
      return test(m, ((vm.A.lo >> n4) & 1) != 0, pc, 7, yy, next(pc, 5));
    case 0x8:
      vm.C.lo &= ~(1u << n4);
      return next(pc, 5);
    case 0x9:
      vm.C.lo |= 1u << n4;
      return next(pc, 5);
    case 0xA:
      return test(m, ((vm.C.lo >> n4) & 1) == 0, pc, 7, yy, next(pc, 5));
    case 0xB:
      return test(m, ((vm.C.lo >> n4) & 1) != 0, pc, 7, yy, next(pc, 5));
    case 0xC:
      return read5(m, low20(vm.A));
    case 0xE:
      return read5(m, low20(vm.C));
    case 0xF:
      vm.interruptsEnabled = 0;
      return next(pc, 4);
    default:
      return next(pc, 4);  // 8083, 808D
  }
}

uint32_t group81(Machine& m, uint32_t pc, uint32_t w, bool honourRunning) {
  auto& vm = m.vm;
  const uint32_t n2 = nibble(w, 2);
  const uint32_t n3 = nibble(w, 3);
  const uint32_t n4 = nibble(w, 4);
  if (n2 < 8) {
    Reg64& r = vm.*kWorking[n2 & 3];
    const uint64_t v = get(r);
    put(r, n2 < 4 ? (v << 4) | (v >> 60) : (v >> 4) | (v << 60));
    return next(pc, 3);
  }
  switch (n2) {
    case 0x8: {
      if ((n4 & 7) < 4) {
        const Field f = fieldOf(vm, n3);
        Reg64& r = vm.*kWorking[n4 & 3];
        const uint64_t v = fieldAddConstant(get(r), nibble(w, 5) + 1, f, (n4 & 8) != 0, vm.carry);
        putMasked(r, v, f.mask);
      }
      return next(pc, 6);
    }
    case 0x9: {
      if (n4 < 4) {
        const Field f = fieldOf(vm, n3);
        Reg64& r = vm.*kWorking[n4];
        const uint64_t v = get(r) & f.mask;
        if ((v >> (4 * f.start)) & 1)
          vm.HST |= 2;
        putMasked(r, v >> 1, f.mask);
      }
      return next(pc, 5);
    }
    case 0xA: {
      const uint32_t n5 = nibble(w, 5);
      const uint32_t index = n5 & 7;
      if (index <= 4 && n4 <= 2) {
        const Field f = fieldOf(vm, n3);
        Reg64& working = n5 < 8 ? vm.A : vm.C;
        Reg64& scratch = vm.*kScratch[index];
        const uint64_t x = get(working);
        if (n4 == 0) {
          putMasked(scratch, x, f.mask);
        } else {
          putMasked(working, get(scratch), f.mask);
          if (n4 == 2)
            putMasked(scratch, x, f.mask);
        }
      }
      return next(pc, 6);
    }
    case 0xB:
      return runstream(m, pc, n3, honourRunning);
    default: {
      Reg64& r = vm.*kWorking[n2 & 3];
      const uint64_t v = get(r);
      if (v & 1)
        vm.HST |= 2;
      put(r, v >> 1);
      return next(pc, 3);
    }
  }
}

void group13(VendelMachine& vm, uint32_t x) {
  Reg64& r = x & 4 ? vm.C : vm.A;
  uint32_t& pointer = x & 1 ? vm.D1 : vm.D0;
  const uint32_t mask = x & 8 ? 0xFFFF : kAddressMask;
  const uint32_t value = r.lo & mask;
  if (x & 2)
    r.lo = (r.lo & ~mask) | (pointer & mask);
  pointer = (pointer & ~mask) | value;
}

// R(x) = A or C, the reverse, or the exchange, for 10x, 11x and 12x.
inline void scratchMove(VendelMachine& vm, uint32_t kind, uint32_t x) {
  if ((x & 7) > 4)
    return;
  Reg64& working = x < 8 ? vm.A : vm.C;
  Reg64& scratch = vm.*kScratch[x & 7];
  const Reg64 saved = working;
  if (kind != 0)
    working = scratch;
  if (kind != 1)
    scratch = saved;
}

[[gnu::always_inline]] inline uint32_t group1(Machine& m, uint32_t pc, uint32_t w) {
  auto& vm = m.vm;
  const uint32_t n1 = nibble(w, 1);
  const uint32_t n2 = nibble(w, 2);
  switch (n1) {
    case 0x0:
    case 0x1:
    case 0x2:
      scratchMove(vm, n1, n2);
      return next(pc, 3);
    case 0x3:
      group13(vm, n2);
      return next(pc, 3);
    case 0x4:
      memoryMove(m, n2 & 7, n2 < 8 ? kFieldA : kFieldB);
      return next(pc, 3);
    case 0x5: {
      const uint32_t y = nibble(w, 3);
      memoryMove(m, n2 & 7, n2 < 8 ? (y & 7) : kFieldCount1 + y);
      return next(pc, 4);
    }
    case 0x6:
    case 0x7: {
      uint32_t& pointer = n1 == 6 ? vm.D0 : vm.D1;
      const uint32_t sum = pointer + n2 + 1;
      vm.carry = sum > kAddressMask ? 1 : 0;
      pointer = sum & kAddressMask;
      return next(pc, 3);
    }
    case 0x8:
    case 0xC: {
      uint32_t& pointer = n1 == 8 ? vm.D0 : vm.D1;
      vm.carry = pointer < n2 + 1 ? 1 : 0;
      pointer = (pointer - n2 - 1) & kAddressMask;
      return next(pc, 3);
    }
    case 0x9:
    case 0xD: {
      uint32_t& pointer = n1 == 9 ? vm.D0 : vm.D1;
      pointer = (pointer & 0xFFF00) | ((w >> 8) & 0xFF);
      return next(pc, 4);
    }
    case 0xA:
    case 0xE: {
      uint32_t& pointer = n1 == 0xA ? vm.D0 : vm.D1;
      pointer = (pointer & 0xF0000) | ((w >> 8) & 0xFFFF);
      return next(pc, 6);
    }
    default: {
      uint32_t& pointer = n1 == 0xB ? vm.D0 : vm.D1;
      pointer = (w >> 8) & kAddressMask;
      return next(pc, 7);
    }
  }
}

[[gnu::always_inline]] inline uint32_t group8(Machine& m, uint32_t pc, uint32_t w,
                                              bool honourRunning) {
  auto& vm = m.vm;
  const uint32_t n1 = nibble(w, 1);
  const uint32_t n2 = nibble(w, 2);
  const uint32_t yy = (w >> 12) & 0xFF;
  const uint32_t yyAddress = next(pc, 3);
  switch (n1) {
    case 0x0:
      return group80(m, pc, w);
    case 0x1:
      return group81(m, pc, w, honourRunning);
    case 0x2:
      vm.HST &= ~n2;
      return next(pc, 3);
    case 0x3:
      return test(m, (vm.HST & n2) == 0, pc, 5, yy, yyAddress);
    case 0x4:
      vm.ST &= ~(1u << n2);
      return next(pc, 3);
    case 0x5:
      vm.ST |= 1u << n2;
      return next(pc, 3);
    case 0x6:
      return test(m, ((vm.ST >> n2) & 1) == 0, pc, 5, yy, yyAddress);
    case 0x7:
      return test(m, ((vm.ST >> n2) & 1) != 0, pc, 5, yy, yyAddress);
    case 0x8:
      return test(m, vm.P != n2, pc, 5, yy, yyAddress);
    case 0x9:
      return test(m, vm.P == n2, pc, 5, yy, yyAddress);
    case 0xA:
      return test(m, fieldTest(vm, false, n2, kAddressMask), pc, 5, yy, yyAddress);
    case 0xB:
      return test(m, fieldTest(vm, true, n2, kAddressMask), pc, 5, yy, yyAddress);
    case 0xC:
      return relative(next(pc, 2), signed16(w >> 8));
    case 0xD:
      return (w >> 8) & kAddressMask;
    case 0xE:
      pushReturn(m, next(pc, 6));
      return relative(next(pc, 6), signed16(w >> 8));
    default:
      pushReturn(m, next(pc, 7));
      return (w >> 8) & kAddressMask;
  }
}

[[gnu::always_inline]] inline uint32_t group0(Machine& m, uint32_t pc, uint32_t w) {
  auto& vm = m.vm;
  switch (nibble(w, 1)) {
    case 0x0:
      vm.HST |= 1;
      return popReturn(m);
    case 0x1:
      return popReturn(m);
    case 0x2:
      vm.carry = 1;
      return popReturn(m);
    case 0x3:
      vm.carry = 0;
      return popReturn(m);
    case 0x4:
      vm.decimal = 0;
      return next(pc, 2);
    case 0x5:
      vm.decimal = 1;
      return next(pc, 2);
    case 0x6:
      pushReturn(m, low20(vm.C));
      return next(pc, 2);
    case 0x7:
      setLow20(vm.C, popReturn(m));
      return next(pc, 2);
    case 0x8:
      vm.ST &= 0xF000;
      return next(pc, 2);
    case 0x9:
      vm.C.lo = (vm.C.lo & ~0xFFFu) | (vm.ST & 0xFFF);
      return next(pc, 2);
    case 0xA:
      vm.ST = (vm.ST & 0xF000) | (vm.C.lo & 0xFFF);
      return next(pc, 2);
    case 0xB: {
      const uint32_t st = vm.ST & 0xFFF;
      vm.ST = (vm.ST & 0xF000) | (vm.C.lo & 0xFFF);
      vm.C.lo = (vm.C.lo & ~0xFFFu) | st;
      return next(pc, 2);
    }
    case 0xC:
      vm.carry = vm.P == 15 ? 1 : 0;
      setP(m, vm.P + 1);
      return next(pc, 2);
    case 0xD:
      vm.carry = vm.P == 0 ? 1 : 0;
      setP(m, vm.P - 1);
      return next(pc, 2);
    case 0xE: {
      const uint32_t o = nibble(w, 3);
      const RegisterPair& p = (o & 4) ? kSecondPairs[o & 3] : kFirstPairs[o & 3];
      const uint64_t mask = vm.fieldMask[nibble(w, 2)];
      const uint64_t x = get(vm.*p.destination);
      const uint64_t y = get(vm.*p.source);
      putMasked(vm.*p.destination, o < 8 ? x & y : x | y, mask);
      return next(pc, 4);
    }
    default:
      return returnFromInterrupt(m);
  }
}

// One instruction at pc with decode word w; returns the next PC.
[[gnu::always_inline]] inline uint32_t execute(Machine& m, uint32_t pc, uint32_t w,
                                               bool honourRunning) {
  auto& vm = m.vm;
  const uint32_t n1 = nibble(w, 1);
  switch (w & 0xF) {
    case 0x0:
      return group0(m, pc, w);
    case 0x1:
      return group1(m, pc, w);
    case 0x2:
      setP(m, n1);
      return next(pc, 2);
    case 0x3:
      loadConstant(m, vm.C, w, 2, n1, next(pc, 2));
      return next(pc, n1 + 3);
    case 0x4:
    case 0x5: {
      const bool taken = ((w & 0xF) == 4) == (vm.carry != 0);
      if (!taken)
        return next(pc, 3);
      const uint32_t yy = (w >> 4) & 0xFF;
      return yy == 0 ? popReturn(m) : relative(next(pc, 1), signed8(yy));
    }
    case 0x6:
      return relative(next(pc, 1), signed12(w >> 4));
    case 0x7:
      pushReturn(m, next(pc, 4));
      return relative(next(pc, 4), signed12(w >> 4));
    case 0x8:
      return group8(m, pc, w, honourRunning);
    case 0x9: {
      const uint32_t f = n1 & 7;
      const bool result = fieldTest(vm, n1 >= 8, nibble(w, 2), vm.fieldMask[f]);
      return test(m, result, pc, 5, (w >> 12) & 0xFF, next(pc, 3));
    }
    case 0xA: {
      const Field f = fieldOf(vm, n1 & 7);
      if (n1 < 8) {
        addRow(vm, nibble(w, 2), f);
      } else {
        copyRow(vm, nibble(w, 2), f);
      }
      return next(pc, 3);
    }
    case 0xB: {
      const Field f = fieldOf(vm, n1 & 7);
      if (n1 < 8) {
        subtractRow(vm, nibble(w, 2), f);
      } else {
        shiftRow(vm, nibble(w, 2), f);
      }
      return next(pc, 3);
    }
    case 0xC:
      addRow(vm, n1, fieldOf(vm, kFieldA));
      return next(pc, 2);
    case 0xD:
      copyRow(vm, n1, fieldOf(vm, kFieldA));
      return next(pc, 2);
    case 0xE:
      subtractRow(vm, n1, fieldOf(vm, kFieldA));
      return next(pc, 2);
    default:
      shiftRow(vm, n1, fieldOf(vm, kFieldA));
      return next(pc, 2);
  }
}

// The first byte of the decode word is a constant here, so the group's own dispatch on n1
// folds away and the switch below is the one dispatch per instruction.
template <uint32_t kByte>
[[gnu::always_inline]] inline uint32_t executeByte(Machine& m, uint32_t pc, uint32_t w,
                                                   bool honourRunning) {
  return execute(m, pc, (w & ~0xFFu) | kByte, honourRunning);
}

[[gnu::always_inline]] inline uint32_t dispatch(Machine& m, uint32_t pc, uint32_t w,
                                                bool honourRunning) {
  // clang-format off
#define TAVREL_CASE(b) case b: return executeByte<b>(m, pc, w, honourRunning);
#define TAVREL_CASE16(h)                                                                  \
  TAVREL_CASE(h + 0x0) TAVREL_CASE(h + 0x1) TAVREL_CASE(h + 0x2) TAVREL_CASE(h + 0x3)     \
  TAVREL_CASE(h + 0x4) TAVREL_CASE(h + 0x5) TAVREL_CASE(h + 0x6) TAVREL_CASE(h + 0x7)     \
  TAVREL_CASE(h + 0x8) TAVREL_CASE(h + 0x9) TAVREL_CASE(h + 0xA) TAVREL_CASE(h + 0xB)     \
  TAVREL_CASE(h + 0xC) TAVREL_CASE(h + 0xD) TAVREL_CASE(h + 0xE) TAVREL_CASE(h + 0xF)
  switch (w & 0xFF) {
    TAVREL_CASE16(0x00) TAVREL_CASE16(0x10) TAVREL_CASE16(0x20) TAVREL_CASE16(0x30)
    TAVREL_CASE16(0x40) TAVREL_CASE16(0x50) TAVREL_CASE16(0x60) TAVREL_CASE16(0x70)
    TAVREL_CASE16(0x80) TAVREL_CASE16(0x90) TAVREL_CASE16(0xA0) TAVREL_CASE16(0xB0)
    TAVREL_CASE16(0xC0) TAVREL_CASE16(0xD0) TAVREL_CASE16(0xE0) TAVREL_CASE16(0xF0)
  }
#undef TAVREL_CASE16
#undef TAVREL_CASE
  // clang-format on
  return pc;  // not reached: every byte has a case
}

constexpr uint32_t kShutdownOpcode = 0x708;  // 8 0 7, lowest nibble first

// The loop shared by both entry points. Stepping runs a counted number of instructions and
// stops before a SHUTDN; running goes on until the run flag is cleared.
template <bool kStepping>
StepResult loop(Machine& m, uint64_t budget) {
  auto& vm = m.vm;
  StepResult result;
  std::atomic_ref<uint32_t> pending(vm.interruptPending);
  uint32_t pc = vm.PC & kAddressMask;
  uint8_t counter = 0;
  for (;;) {
    if constexpr (kStepping) {
      if (result.executed == budget)
        break;
    } else {
      if (m.running.load(std::memory_order_relaxed) == 0)
        break;
    }
    if (pending.load(std::memory_order_relaxed) != 0 && vm.inInterrupt == 0) {
      pc = takeInterrupt(m, pc);
    }
    if (counter++ == 255) {
      m.host->throttleHook();
      m.host->suspendPoint();
      serveProcessorRequests(m);
    }
    vm.PC = pc;
    const uint32_t w = fetch8(m, pc);
    if constexpr (kStepping) {
      if ((w & 0xFFF) == kShutdownOpcode) {
        result.atShutdown = true;
        break;
      }
      ++result.executed;
    }
    pc = dispatch(m, pc, w, !kStepping);
  }
  vm.PC = pc;
  return result;
}

}  // namespace

int runMachine(Machine& m) {
  m.host->acquireProcessor();
  loop<false>(m, 0);
  m.host->releaseProcessor();
  m.host->machineStopped();
  return 0;
}

StepResult stepMachine(Machine& m, uint64_t steps) {
  m.host->acquireProcessor();
  const StepResult result = loop<true>(m, steps);
  m.host->releaseProcessor();
  return result;
}

}  // namespace tavrel::machine
