#include "objects/CalculatorStack.h"

#include <algorithm>

#include "Memory.h"
#include "ObjectWalker.h"
#include "objects/TransferFailures.h"

namespace tavrel::core::objects {
namespace {

constexpr std::uint32_t kMemoryEnd = 0x100000;
// Besides the object itself: its leading 0 nibble and trailing size (6), a stack entry (5).
constexpr std::uint64_t kInsertionOverhead = 11;
constexpr std::uint32_t kRetryLimit = 0xFFFF;

void write5(machine::Machine& m, std::uint32_t address, std::uint64_t value) {
  machine::writeNibbles(m, address, static_cast<std::uint32_t>(value & 0xFFFFF), 5);
}

// Up to 8 nibbles of an image from nibble `first` on, lowest first.
std::uint32_t imageNibbles(const std::vector<std::uint8_t>& bytes, std::uint32_t first, int count) {
  std::uint32_t value = 0;
  for (int k = 0; k < count; ++k) {
    const std::uint32_t i = first + static_cast<std::uint32_t>(k);
    value |= static_cast<std::uint32_t>((bytes[i / 2] >> (4 * (i & 1))) & 0xF) << (4 * k);
  }
  return value;
}

// RAM that reads back what is written: a write to anything else would be lost and leave a
// half-made insertion.
bool pageWritable(const machine::Machine& m, std::uint32_t page) {
  return m.writePage[page] != nullptr && m.writePage[page] == m.readPage[page];
}

bool rangeWritable(const machine::Machine& m, std::uint32_t first, std::uint32_t end) {
  for (std::uint32_t page = first >> 12; page <= ((end - 1) >> 12); ++page) {
    if (!pageWritable(m, page))
      return false;
  }
  return true;
}

// The object fits between the free memory and the stack, and everything the insertion writes
// (temporary area up to the stack, the system variables) is RAM.
bool insertionFits(const machine::Machine& m, std::uint32_t temporaryTop, std::uint32_t freeStart,
                   std::uint32_t stack, std::uint64_t nibbles) {
  if (stack == 0 || temporaryTop > freeStart || freeStart > stack)
    return false;
  if (std::uint64_t{stack} - freeStart < nibbles + kInsertionOverhead)
    return false;
  return rangeWritable(m, temporaryTop, stack) && rangeWritable(m, kTemporaryTop, kFreeStart + 5) &&
         rangeWritable(m, kStackPointer, kStackPointer + 5) &&
         rangeWritable(m, kFreeUnits, kFreeUnits + 5);
}

std::uint32_t objectSizeBounded(const machine::Machine& m, std::uint32_t address,
                                std::uint32_t span) {
  const std::uint32_t start = machine::hostNibblePosition(m, address);
  return machine::objectSize(m, start, start + span);
}

}  // namespace

void insertObject(machine::Machine& m, const ObjectImage& image) {
  const std::uint64_t size = image.nibbles;
  std::uint32_t temporaryTop = machine::read5(m, kTemporaryTop);
  std::uint32_t freeStart = machine::read5(m, kFreeStart);
  std::uint32_t stack = machine::read5(m, kStackPointer);
  if (size == 0 || image.bytes.size() < (size + 1) / 2 ||
      !insertionFits(m, temporaryTop, freeStart, stack, size))
    raiseLoadFailure(LoadFailure::NotEnoughMemory);

  const auto object = static_cast<std::uint32_t>(size);
  const std::uint32_t grown = object + 6;
  machine::copyNibblesDown(m, freeStart, freeStart + grown, freeStart - temporaryTop);
  machine::writeNibbles(m, temporaryTop, 0, 1);
  for (std::uint32_t i = 0; i < object; i += 8) {
    const int count = static_cast<int>(std::min<std::uint32_t>(8, object - i));
    machine::writeNibbles(m, temporaryTop + 1 + i, imageNibbles(image.bytes, i, count), count);
  }
  write5(m, temporaryTop + 1 + object, grown);
  write5(m, stack - 5, temporaryTop + 1);

  stack -= 5;
  temporaryTop += grown;
  freeStart += grown;
  write5(m, kTemporaryTop, temporaryTop);
  write5(m, kFreeStart, freeStart);
  write5(m, kStackPointer, stack);
  write5(m, kFreeUnits, (stack - freeStart) / 5);
}

StackObject readLevel1(const machine::Machine& m) {
  const std::uint32_t stack = machine::read5(m, kStackPointer);
  if (stack == 0)
    raiseNoObject();
  const std::uint32_t address = machine::read5(m, stack);
  if (address == 0)
    raiseNoObject();
  return {address, objectSizeBounded(m, address, kMemoryEnd - address)};
}

std::uint32_t storableObjectSize(const machine::Machine& m, std::uint32_t address) {
  const std::uint32_t size = objectSizeBounded(m, address, kMemoryEnd - address);
  return size > kSmallestInvalidSize ? size : objectSizeBounded(m, address, kRetryLimit);
}

std::vector<std::uint8_t> objectImageAt(const machine::Machine& m, std::uint32_t address,
                                        std::uint32_t nibbles) {
  std::vector<std::uint8_t> image((std::size_t{nibbles} + 1) / 2, 0);
  for (std::uint32_t i = 0; i < nibbles; i += 8) {
    const int count = static_cast<int>(std::min<std::uint32_t>(8, nibbles - i));
    const std::uint32_t value = machine::readNibbles(m, address + i, count);
    for (int k = 0; k < count; ++k) {
      const std::uint32_t n = i + static_cast<std::uint32_t>(k);
      image[n / 2] |= static_cast<std::uint8_t>(((value >> (4 * k)) & 0xF) << (4 * (n & 1)));
    }
  }
  return image;
}

}  // namespace tavrel::core::objects
