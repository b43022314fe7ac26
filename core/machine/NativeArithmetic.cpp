// Native calls that compute: 64-bit arithmetic on register fields, DEFINE-FIELD, string
// classification, and call 60.
#include <cstdint>
#include <optional>

#include "Memory.h"
#include "NativeSupport.h"
#include "Processor.h"

namespace tavrel::machine::native {
namespace {

constexpr uint32_t kFirstUserField = 8;
constexpr uint32_t kLastUserField = 14;

Reg64& workingRegister(VendelMachine& vm, uint32_t index) {
  Reg64* const registers[] = {&vm.A, &vm.B, &vm.C, &vm.D};
  return *registers[index & 3];
}

// Operations of calls 80..8A on the fields shifted down to bit 0; nothing = leave the
// destination as it is (division by zero).
template <uint32_t kCall>
std::optional<uint64_t> operate(uint64_t destination, uint64_t source) {
  if constexpr (kCall == 0x80)
    return source;
  if constexpr (kCall == 0x81)
    return destination + source;
  if constexpr (kCall == 0x82)
    return destination - source;
  if constexpr (kCall == 0x83)
    return destination * source;
  if constexpr (kCall == 0x84) {
    if (source == 0)
      return std::nullopt;
    return destination / source;
  }
  if constexpr (kCall == 0x85) {
    if (source == 0)
      return std::nullopt;
    return destination % source;
  }
  if constexpr (kCall == 0x86)
    return ~source;
  if constexpr (kCall == 0x87)
    return 0 - source;
  if constexpr (kCall == 0x88)
    return source >= 64 ? 0 : destination << source;
  if constexpr (kCall == 0x89)
    return source >= 64 ? 0 : destination >> source;
  if constexpr (kCall == 0x8A)
    return destination ^ source;
}

// The two nibbles after the call: field code (high nibble), source and destination register.
template <uint32_t kCall>
uint32_t fieldArithmetic(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  const uint32_t b = read2(m, resume);
  const Field field = fieldOf(vm, b >> 4);
  const uint32_t shift = 4 * field.start;
  auto operand = [&](const Reg64& r) { return (get(r) & field.mask) >> shift; };
  Reg64& destination = workingRegister(vm, b);
  if (const std::optional<uint64_t> result =
          operate<kCall>(operand(destination), operand(workingRegister(vm, b >> 2)))) {
    putMasked(destination, *result << shift, field.mask);
  }
  return (resume + 2) & kLow20;
}

// 60: carry set; P 8 clears A's low word, P 9 or 12 fills B's.
uint32_t call60(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  vm.carry = 1;
  if (vm.P == 8)
    vm.A.lo = 0;
  if (vm.P == 9 || vm.P == 12)
    vm.B.lo = 0xFFFFFFFF;
  setP(m, 0);
  return resume;
}

// 61: the character after a length byte at D1 selects a class; D1 then skips the string.
uint32_t classifyString(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  const uint32_t nibbles = read5(m, vm.D1);
  const uint32_t length = nibbles & 0xFF;
  uint32_t result;
  switch ((nibbles >> 8) & 0xFF) {
    case 'H':
      result = 0;
      break;
    case '0':
    case 'R':
      result = 1;
      break;
    case '1':
    case 'E':
      result = 2;
      break;
    case '2':
    case 'F':
      result = 3;
      break;
    case '3':
    case 'S':
      result = 4;
      break;
    default:
      vm.carry = 1;
      return resume;
  }
  vm.D1 = (vm.D1 + 2 * (length + 1)) & kLow20;
  vm.carry = 0;
  setLow20(vm.A, result);
  return resume;
}

// 7F: user field k (nibble after the call) becomes the nibbles that C covers.
uint32_t defineField(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  const uint32_t code = readNibbles(m, resume, 1);
  const uint64_t mask = get(vm.C);
  if (code >= kFirstUserField && code <= kLastUserField && mask != 0) {
    setUserField(vm, code, mask);
    vm.carry = 0;
  } else {
    vm.carry = 1;
  }
  return (resume + 1) & kLow20;
}

}  // namespace

void addArithmeticCalls(NativeTable& table) {
  table[0x60] = &call60;
  table[0x61] = &classifyString;
  table[0x7F] = &defineField;
  table[0x80] = &fieldArithmetic<0x80>;
  table[0x81] = &fieldArithmetic<0x81>;
  table[0x82] = &fieldArithmetic<0x82>;
  table[0x83] = &fieldArithmetic<0x83>;
  table[0x84] = &fieldArithmetic<0x84>;
  table[0x85] = &fieldArithmetic<0x85>;
  table[0x86] = &fieldArithmetic<0x86>;
  table[0x87] = &fieldArithmetic<0x87>;
  table[0x88] = &fieldArithmetic<0x88>;
  table[0x89] = &fieldArithmetic<0x89>;
  table[0x8A] = &fieldArithmetic<0x8A>;
}

}  // namespace tavrel::machine::native
