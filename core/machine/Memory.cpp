#include "Memory.h"

#include "MemoryMap.h"
#include "RegisterBlock.h"

namespace tavrel::machine {

namespace {

uint64_t nibbleMask64(uint32_t count) {
  return count >= 16 ? ~uint64_t{0} : (uint64_t{1} << (4 * count)) - 1;
}

bool inRegisterBlock(const Machine& m, uint32_t a) {
  return static_cast<int32_t>(a >> 6) == m.vm.ioBase;
}

void storeMasked(uint32_t* page, uint32_t word, uint32_t value, uint32_t mask) {
  if (page == nullptr || mask == 0)
    return;
  page[word] = (page[word] & ~mask) | (value & mask);
}

struct FieldSpan {
  uint32_t start;
  uint32_t length;
};

FieldSpan fieldSpan(const Machine& m, uint32_t fieldCode) {
  fieldCode &= kFieldCodeCount - 1;
  const uint32_t start = m.vm.fieldStart[fieldCode] & 0xF;
  const uint32_t length = m.vm.fieldLength[fieldCode];
  return {start, length > 16 - start ? 16 - start : length};
}

uint64_t load(const Reg64& r) {
  return (uint64_t{r.hi} << 32) | r.lo;
}

}  // namespace

void writeNibbles(Machine& m, uint32_t a, uint32_t value, int count) {
  if (count <= 0)
    return;
  a &= kAddressMask;
  const uint32_t shift = (a & 7) * 4;
  const uint64_t mask = nibbleMask64(count > 8 ? 8 : count) << shift;
  const uint64_t bits = (uint64_t{value} << shift) & mask;
  const uint32_t page = a >> 12;
  const uint32_t word = (a >> 3) & 0x1FF;
  storeMasked(m.writePage[page], word, static_cast<uint32_t>(bits), static_cast<uint32_t>(mask));
  if ((mask >> 32) == 0)
    return;
  uint32_t* next = word == 0x1FF ? m.writePage[page + 1] : m.writePage[page];
  storeMasked(next, word == 0x1FF ? 0 : word + 1, static_cast<uint32_t>(bits >> 32),
              static_cast<uint32_t>(mask >> 32));
}

void readField(Machine& m, uint32_t a, Reg64& r, uint32_t fieldCode) {
  const FieldSpan field = fieldSpan(m, fieldCode);
  if (field.length == 0)
    return;
  a &= kAddressMask;
  const int lowCount = field.length > 8 ? 8 : static_cast<int>(field.length);
  const int highCount = static_cast<int>(field.length) - lowCount;
  uint64_t value;
  if (inRegisterBlock(m, a)) {
    const uint32_t offset = a & 0x3F;
    value = readRegisters(m, offset, lowCount);
    if (highCount > 0)
      value |= uint64_t{readRegisters(m, offset + 8, highCount)} << 32;
  } else {
    value = readNibbles(m, a, lowCount);
    if (highCount > 0)
      value |= uint64_t{readNibbles(m, a + 8, highCount)} << 32;
  }
  const uint64_t mask = nibbleMask64(field.length) << (4 * field.start);
  const uint64_t merged = (load(r) & ~mask) | ((value << (4 * field.start)) & mask);
  r.lo = static_cast<uint32_t>(merged);
  r.hi = static_cast<uint32_t>(merged >> 32);
}

void writeField(Machine& m, uint32_t a, const Reg64& r, uint32_t fieldCode) {
  const FieldSpan field = fieldSpan(m, fieldCode);
  if (field.length == 0)
    return;
  a &= kAddressMask;
  const uint64_t value = (load(r) >> (4 * field.start)) & nibbleMask64(field.length);
  const uint64_t mask = nibbleMask64(field.length);
  if (inRegisterBlock(m, a)) {
    const uint32_t offset = a & 0x3F;
    writeRegisters(m, offset, static_cast<uint32_t>(value), static_cast<uint32_t>(mask));
    if (field.length > 8) {
      writeRegisters(m, offset + 8, static_cast<uint32_t>(value >> 32),
                     static_cast<uint32_t>(mask >> 32));
    }
    return;
  }
  if (static_cast<int32_t>(a >> 12) == m.vm.bankSwitcherPage) {
    switchBank(m, a);
    return;
  }
  if (m.writePage[a >> 12] == nullptr)
    return;
  const int lowCount = field.length > 8 ? 8 : static_cast<int>(field.length);
  writeNibbles(m, a, static_cast<uint32_t>(value), lowCount);
  if (field.length > 8) {
    writeNibbles(m, a + 8, static_cast<uint32_t>(value >> 32), static_cast<int>(field.length) - 8);
  }
}

void copyNibbles(Machine& m, uint32_t source, uint32_t destination, uint32_t count) {
  Reg64 carrier{0, 0};
  for (; count >= 16; count -= 16, source += 16, destination += 16) {
    readField(m, source, carrier, kFieldCount16);
    writeField(m, destination, carrier, kFieldCount16);
  }
  if (count == 0)
    return;
  readField(m, source, carrier, kFieldCount1 + count - 1);
  writeField(m, destination, carrier, kFieldCount1 + count - 1);
}

void copyNibblesDown(Machine& m, uint32_t sourceEnd, uint32_t destinationEnd, uint32_t count) {
  Reg64 carrier{0, 0};
  for (; count >= 16; count -= 16) {
    sourceEnd -= 16;
    destinationEnd -= 16;
    readField(m, sourceEnd, carrier, kFieldCount16);
    writeField(m, destinationEnd, carrier, kFieldCount16);
  }
  if (count == 0)
    return;
  readField(m, sourceEnd - count, carrier, kFieldCount1 + count - 1);
  writeField(m, destinationEnd - count, carrier, kFieldCount1 + count - 1);
}

}  // namespace tavrel::machine
