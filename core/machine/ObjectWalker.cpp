#include "ObjectWalker.h"

#include <array>

#include "Machine.h"
#include "MemoryMap.h"

namespace tavrel::machine {
namespace {

// Nibble reads that fail (and stay failed) outside the regions.
class NibbleReader {
 public:
  explicit NibbleReader(std::span<const NibbleRegion> memory) : memory_(memory) {}

  uint64_t read(uint64_t position, int count) {
    for (const NibbleRegion& region : memory_) {
      if (position < region.firstPosition)
        continue;
      const uint64_t offset = position - region.firstPosition;
      if (offset + count > 2 * uint64_t{region.bytes.size()})
        continue;
      uint64_t value = 0;
      for (int i = count - 1; i >= 0; --i) {
        const uint64_t at = offset + i;
        value = (value << 4) | ((region.bytes[at >> 1] >> (4 * (at & 1))) & 0xF);
      }
      return value;
    }
    failed_ = true;
    return 0;
  }
  uint64_t read5(uint64_t position) { return read(position, 5); }
  uint64_t read2(uint64_t position) { return read(position, 2); }
  bool failed() const { return failed_; }

 private:
  std::span<const NibbleRegion> memory_;
  bool failed_ = false;
};

enum Prolog : uint32_t {
  kPrologSemi = 0x0312B,
  kPrologDirectory = 0x02A96,
  kPrologLibraryData = 0x02AFC,
};

bool opensComposite(uint64_t n) {
  return n == 0x02686 || n == 0x02A74 || n == 0x02AB8 || n == 0x02ADA || n == 0x02D9D;
}

bool hasLengthField(uint64_t n) {
  switch (n) {
    case 0x02614:
    case 0x026D5:
    case 0x026FE:
    case 0x029E8:
    case 0x02A0A:
    case 0x02A2C:
    case 0x02A4E:
    case 0x02B1E:
    case 0x02B40:
    case 0x02B62:
    case 0x02B88:
    case 0x02BCC:
    case 0x02BEE:
    case 0x02C10:
    case 0x02DCC:
      return true;
    default:
      return false;
  }
}

// Fixed body sizes by prolog; 0 = not a fixed-size object.
uint64_t fixedBodySize(uint64_t n) {
  switch (n) {
    case 0x026AC:
      return 7;
    case 0x02911:
      return 5;
    case 0x02933:
      return 16;
    case 0x02955:
      return 21;
    case 0x02977:
      return 32;
    case 0x0299D:
      return 42;
    case 0x029BF:
      return 2;
    case 0x02BAA:
      return 10;
    case 0x02E92:
      return 6;
    default:
      return 0;
  }
}

// Where the object whose prolog is n and whose body starts at b ends.
struct Step {
  uint64_t end;
  bool continueThere = false;  // the walk goes on at end whatever the depth
  bool invalid = false;
};

Step directoryStep(NibbleReader& r, uint64_t b) {
  uint64_t d = b + 3;
  const uint64_t e = r.read5(d);
  if (e == 0)
    return {b + 8};
  if (r.read5(b + 8) == 0)
    return {d + e + 2 * r.read2(d + e) + 4, true};
  d += 13 * (r.read5(b) & 0xFFF);
  const uint64_t f = r.read5(d);
  if (f == 0)
    return {d + 5};
  if (r.read5(d + 5) != 0)
    return {0, false, true};
  const uint64_t g = r.read2(d + f) & 0xFF;
  return {d + f + (g != 0 ? 2 * g + 4 : 2), true};
}

Step objectStep(NibbleReader& r, uint64_t n, uint64_t b, uint64_t& depth) {
  if (hasLengthField(n))
    return {b + r.read5(b)};
  if (const uint64_t size = fixedBodySize(n); size != 0)
    return {b + size};
  if (opensComposite(n)) {
    ++depth;
    return {b};
  }
  switch (n) {
    case 0x0263A: {
      const uint64_t b1 = b + r.read5(b);
      return {b1 + r.read5(b1)};
    }
    case 0x02660: {
      const uint64_t d = r.read5(b);
      const uint64_t b1 = b + d + r.read5(b + d);
      const uint64_t b2 = b1 + r.read5(b1);
      return {b2 + r.read5(b2)};
    }
    case kPrologLibraryData:
      return {b + 2 + 2 * r.read2(b), true};
    case 0x02E48:
    case 0x02E6D:
      return {b + 2 + 2 * r.read2(b)};
    case kPrologSemi:
      if (depth > 0) {
        --depth;
        return {b};
      }
      return {b - 5};
    case kPrologDirectory:
      return directoryStep(r, b);
    default:
      return {b};  // a pointer
  }
}

}  // namespace

uint32_t objectSize(std::span<const NibbleRegion> memory, uint32_t start, uint32_t limit,
                    uint32_t prolog) {
  NibbleReader reader(memory);
  uint64_t depth = 0;
  uint64_t c = start;
  uint64_t pending = prolog;
  // Every step ends at or past its body, which lies past the position it started from, so
  // the walk reaches the limit after at most (limit - start) / 5 steps.
  for (;;) {
    uint64_t n;
    uint64_t b;
    if (pending != 0) {
      n = pending;
      b = c;
      pending = 0;
    } else {
      if (c >= limit)
        return kObjectWalkFailed;
      n = reader.read5(c);
      b = c + 5;
    }
    const Step step = objectStep(reader, n, b, depth);
    if (reader.failed() || step.invalid)
      return kObjectWalkFailed;
    c = step.end;
    if (!step.continueThere && depth == 0) {
      // An object that runs past the limit is cut off: its size would lead readers astray.
      if (c > limit || c < start)
        return kObjectWalkFailed;
      return static_cast<uint32_t>(c - start);
    }
  }
}

uint32_t objectSize(const Machine& m, uint32_t start, uint32_t limit, uint32_t prolog) {
  constexpr std::array<uint32_t, 5> kBases = {HostAddress::kRom, HostAddress::kPort0,
                                              HostAddress::kPort12, HostAddress::kDisp0,
                                              HostAddress::kFiller};
  std::array<NibbleRegion, kBases.size()> regions;
  for (std::size_t i = 0; i < kBases.size(); ++i) {
    regions[i] = {2 * uint64_t{kBases[i]}, imageBytes(m, kBases[i])};
  }
  return objectSize(regions, start, limit, prolog);
}

uint32_t hostNibblePosition(const Machine& m, uint32_t address) {
  return 2 * m.vm.readPage[(address >> 12) & 0xFF] + (address & 0xFFF);
}

}  // namespace tavrel::machine
