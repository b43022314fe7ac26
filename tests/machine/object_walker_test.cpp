// Sizing objects from their prologs: every prolog row, nesting, directories, and walks that
// reach the limit or leave the memory they were given.
#include <gtest/gtest.h>

#include <vector>

#include "DefaultMachineHost.h"
#include "Memory.h"
#include "NativeCalls.h"
#include "ObjectWalker.h"
#include "Processor.h"

namespace tavrel::machine {
namespace {

constexpr uint32_t kBase = 0x4000;  // host nibble position of the first nibble

// A string of nibbles laid out by position, packed into bytes low nibble first.
class Nibbles {
 public:
  explicit Nibbles(std::size_t size = 512) : nibbles_(size, 0) {}
  // Writes value as `count` nibbles at offset, lowest first; returns the offset after them.
  uint32_t put(uint32_t offset, uint64_t value, int count = 5) {
    for (int i = 0; i < count; ++i)
      nibbles_.at(offset + i) = (value >> (4 * i)) & 0xF;
    return offset + count;
  }
  uint32_t size(uint32_t start, uint32_t limit, uint32_t prolog = 0) {
    bytes_.assign((nibbles_.size() + 1) / 2, 0);
    for (std::size_t i = 0; i < nibbles_.size(); ++i) {
      bytes_[i / 2] |= static_cast<uint8_t>(nibbles_[i] << (4 * (i % 2)));
    }
    const NibbleRegion region{kBase, bytes_};
    return objectSize({&region, 1}, kBase + start, kBase + limit, prolog);
  }
  uint32_t size(uint32_t start = 0) { return size(start, static_cast<uint32_t>(nibbles_.size())); }

 private:
  std::vector<uint8_t> nibbles_;
  std::vector<uint8_t> bytes_;
};

TEST(ObjectWalkerTest, LengthFieldProlog) {
  for (uint32_t prolog :
       {0x02614u, 0x026D5u, 0x026FEu, 0x029E8u, 0x02A0Au, 0x02A2Cu, 0x02A4Eu, 0x02B1Eu, 0x02B40u,
        0x02B62u, 0x02B88u, 0x02BCCu, 0x02BEEu, 0x02C10u, 0x02DCCu}) {
    Nibbles mem;
    mem.put(mem.put(0, prolog), 37);
    EXPECT_EQ(mem.size(), 5u + 37u) << std::hex << prolog;
  }
}

TEST(ObjectWalkerTest, FixedSizeProlog) {
  const std::pair<uint32_t, uint32_t> rows[] = {{0x026AC, 7},  {0x02911, 5},  {0x02933, 16},
                                                {0x02955, 21}, {0x02977, 32}, {0x0299D, 42},
                                                {0x029BF, 2},  {0x02BAA, 10}, {0x02E92, 6}};
  for (auto [prolog, body] : rows) {
    Nibbles mem;
    mem.put(0, prolog);
    EXPECT_EQ(mem.size(), 5u + body) << std::hex << prolog;
  }
}

TEST(ObjectWalkerTest, TwoAndFourLengthFieldProlog) {
  Nibbles mem;
  mem.put(0, 0x0263A);
  mem.put(5, 12);       // first part: 12 nibbles from its length field
  mem.put(5 + 12, 20);  // second part
  EXPECT_EQ(mem.size(), 5u + 12 + 20);

  Nibbles four;
  four.put(0, 0x02660);
  four.put(5, 8);       // d
  four.put(5 + 8, 10);  // b1 = b + d + 10
  four.put(5 + 18, 6);  // b2 = b1 + 6
  four.put(5 + 24, 9);  // end = b2 + 9
  EXPECT_EQ(four.size(), 5u + 33);
}

TEST(ObjectWalkerTest, CountedByteProlog) {
  for (uint32_t prolog : {0x02E48u, 0x02E6Du}) {
    Nibbles mem;
    mem.put(mem.put(0, prolog), 4, 2);
    mem.put(15, 0x02911);  // not part of the object
    EXPECT_EQ(mem.size(), 5u + 2 + 8) << std::hex << prolog;
  }
}

TEST(ObjectWalkerTest, LibraryDataContinuesWithTheNextObject) {
  Nibbles mem;
  mem.put(mem.put(0, 0x02AFC), 3, 2);
  mem.put(13, 0x02933);
  EXPECT_EQ(mem.size(), 5u + 2 + 6 + 5 + 16);
}

TEST(ObjectWalkerTest, PointerIsFiveNibbles) {
  Nibbles mem;
  mem.put(0, 0x8F123);
  EXPECT_EQ(mem.size(), 5u);
}

TEST(ObjectWalkerTest, CompositeEndsAfterItsSemi) {
  for (uint32_t prolog : {0x02686u, 0x02A74u, 0x02AB8u, 0x02ADAu, 0x02D9Du}) {
    Nibbles mem;
    uint32_t at = mem.put(0, prolog);
    at = mem.put(mem.put(at, 0x02614), 7);  // a 12-nibble object
    at += 2;
    at = mem.put(at, 0x02911) + 5;
    at = mem.put(at, 0x0312B);
    mem.put(at, 0x02614);  // beyond the end
    EXPECT_EQ(mem.size(), at) << std::hex << prolog;
  }
}

TEST(ObjectWalkerTest, NestedComposites) {
  Nibbles mem;
  uint32_t at = mem.put(0, 0x02A74);
  at = mem.put(at, 0x02686);
  at = mem.put(at, 0x02933) + 16;
  at = mem.put(at, 0x0312B);
  at = mem.put(at, 0x02D9D);
  at = mem.put(at, 0x0312B);  // empty inner composite
  at = mem.put(at, 0x12345);  // a pointer
  at = mem.put(at, 0x0312B);
  EXPECT_EQ(mem.size(), at);
  EXPECT_EQ(mem.size(5), 5u + 21 + 5);  // the inner composite alone
}

TEST(ObjectWalkerTest, SemiAtTheTopLevelIsEmpty) {
  Nibbles mem;
  mem.put(0, 0x0312B);
  EXPECT_EQ(mem.size(), 0u);
}

TEST(ObjectWalkerTest, GivenPrologTakesTheBodyFromStart) {
  Nibbles mem;
  mem.put(0, 25);  // a length field right at start
  EXPECT_EQ(mem.size(0, 100, 0x02614), 25u);
  EXPECT_EQ(mem.size(0, 100, 0x02933), 16u);
}

TEST(ObjectWalkerTest, ObjectPastTheLimitFails) {
  Nibbles mem;
  mem.put(mem.put(0, 0x02614), 40);
  EXPECT_EQ(mem.size(0, 45), 45u);
  EXPECT_EQ(mem.size(0, 44), kObjectWalkFailed);
}

TEST(ObjectWalkerTest, CompositeWithoutSemiRunsIntoTheLimit) {
  Nibbles mem(64);
  mem.put(0, 0x02686);
  for (uint32_t at = 5; at + 5 <= 64; at += 5)
    mem.put(at, 0x12345);
  EXPECT_EQ(mem.size(0, 40), kObjectWalkFailed);
}

TEST(ObjectWalkerTest, ReadsOutsideTheMemoryFail) {
  Nibbles mem(12);
  mem.put(0, 0x02614);
  mem.put(5, 5);
  EXPECT_EQ(mem.size(0, 1000), 10u);                // ends inside
  EXPECT_EQ(mem.size(8, 1000), kObjectWalkFailed);  // prolog half outside
  Nibbles composite(10);
  composite.put(0, 0x02686);
  composite.put(5, 0x02911);
  EXPECT_EQ(composite.size(0, 1000), kObjectWalkFailed);
  EXPECT_EQ(composite.size(), kObjectWalkFailed);
}

TEST(ObjectWalkerTest, DirectoryWithoutEntries) {
  Nibbles mem;
  mem.put(0, 0x02A96);  // body at 5; d = 8 holds 0
  EXPECT_EQ(mem.size(), 5u + 8);
}

TEST(ObjectWalkerTest, DirectoryWithOneEntryFollowsItsName) {
  Nibbles mem;
  mem.put(0, 0x02A96);
  mem.put(8, 10);        // e: the last entry lies 10 past d
  mem.put(13, 0);        // read5(b + 8) = 0
  mem.put(18, 3, 2);     // name length 3 at d + e
  mem.put(28, 0x02933);  // d + e + 2 * 3 + 4 = 28: the entry's object
  EXPECT_EQ(mem.size(), 28u + 21);
}

TEST(ObjectWalkerTest, DirectoryWithHashTable) {
  Nibbles mem;
  mem.put(0, 0x02A96);
  mem.put(5, 2);   // two 13-nibble rows
  mem.put(8, 10);  // e
  mem.put(13, 1);  // read5(b + 8) != 0
  const uint32_t d = 8 + 26;
  mem.put(d, 0);  // f = 0: ends after it
  EXPECT_EQ(mem.size(), d + 5);

  mem.put(d, 10);  // f: an entry 10 past d
  mem.put(d + 5, 0);
  mem.put(d + 10, 2, 2);  // g = 2
  const uint32_t next = d + 10 + 2 * 2 + 4;
  mem.put(next, 0x02911);
  EXPECT_EQ(mem.size(), next + 10);

  mem.put(d + 10, 0, 2);  // g = 0
  mem.put(d + 12, 0x029BF);
  EXPECT_EQ(mem.size(), d + 12 + 7);
}

TEST(ObjectWalkerTest, BadDirectoryFails) {
  Nibbles mem;
  mem.put(0, 0x02A96);  // no hash rows, so the entry field d is e's own field
  mem.put(8, 10);       // e = f != 0 ...
  mem.put(13, 1);       // ... and the field after it is not 0
  EXPECT_EQ(mem.size(), kObjectWalkFailed);
}

TEST(ObjectWalkerTest, WalksTheMachinesMemoryByHostPositions) {
  auto m = createMachine("/nonexistent/rom", nullptr);
  callNative(*m, 0x40, 0);  // RAM at 80000
  writeNibbles(*m, 0x90000, 0x02614, 5);
  writeNibbles(*m, 0x90005, 0x20, 5);
  const uint32_t start = hostNibblePosition(*m, 0x90000);
  EXPECT_EQ(start, 2 * (HostAddress::kPort0 + 0x10000 / 2) + 0);
  EXPECT_EQ(objectSize(*m, start, start + 0x1000), 0x25u);
  // The last object in RAM: its body would run past the buffer's end.
  writeNibbles(*m, 0xFFFF8, 0x02614, 5);
  writeNibbles(*m, 0xFFFFD, 0x00010, 3);
  const uint32_t last = hostNibblePosition(*m, 0xFFFF8);
  EXPECT_EQ(objectSize(*m, last, last + 0x1000), kObjectWalkFailed);
}

}  // namespace
}  // namespace tavrel::machine
