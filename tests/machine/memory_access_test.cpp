// Nibble access through the page tables: word and page boundaries, the wrap past FFFFF,
// the fetch rule, field moves and block moves.
#include <gtest/gtest.h>

#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

class MemoryAccess : public InterpreterTest {
 protected:
  // RAM over every page (port 0's pages repeated), laid by hand so that every address is
  // writable.
  void mapRamEverywhere() {
    for (uint32_t page = 0; page < kPageCount; ++page) {
      const uint32_t image = HostAddress::kPort0 + (page % 128) * kPageBytes;
      setPage(m, page, image, image, 5);
    }
    refreshMirrorEntry(m);
  }
};

TEST_F(MemoryAccess, FiveNibbleReadAtFFFFEWrapsToZero) {
  mapRamEverywhere();
  // Page FF on another buffer page than page 00.
  setPage(m, 0xFF, HostAddress::kPort12, HostAddress::kPort12, 5);
  refreshMirrorEntry(m);
  writeNibbles(m, 0xFFFFE, 0xBA, 2);
  writeNibbles(m, 0x00000, 0xEDC, 3);
  EXPECT_EQ(read5(m, 0xFFFFE), 0xEDCBAu);
  EXPECT_EQ(readNibbles(m, 0xFFFFE, 2), 0xBAu);
}

TEST_F(MemoryAccess, EntryTwoFiftySixFollowsPageZero) {
  EXPECT_EQ(m.readPage[256], m.readPage[0]);
  EXPECT_EQ(m.vm.readPage[256], m.vm.readPage[0]);
  mapRamEverywhere();
  EXPECT_EQ(m.writePage[256], m.writePage[0]);
  EXPECT_EQ(m.vm.pagePriority[256], 5u);
}

TEST_F(MemoryAccess, WritesAcrossAPageBoundaryReachBothPages) {
  mapRamEverywhere();
  writeNibbles(m, 0x80FFD, 0x87654321, 8);
  EXPECT_EQ(readNibbles(m, 0x80FFD, 8), 0x87654321u);
  EXPECT_EQ(readNibbles(m, 0x81000, 5), 0x87654u);
  EXPECT_EQ(readNibbles(m, 0x80FFC, 1), 0u);
  EXPECT_EQ(readNibbles(m, 0x81005, 1), 0u);
}

TEST_F(MemoryAccess, FetchOnePastAWordBoundaryHasAZeroTopNibble) {
  load("NIBHEX 0123456789ABCDEF");
  EXPECT_EQ(fetch8(m, 0), 0x76543210u);
  EXPECT_EQ(fetch8(m, 1), 0x07654321u);
  EXPECT_EQ(fetch8(m, 2), 0x98765432u);
  EXPECT_EQ(fetch8(m, 7), 0xEDCBA987u);
}

TEST_F(MemoryAccess, FieldMovesPlaceNibblesAtTheFieldStart) {
  mapRamEverywhere();
  writeNibbles(m, 0x80000, 0x4321, 4);
  Reg64 r = reg(0xFFFFFFFFFFFFFFFFull);
  readField(m, 0x80000, r, kFieldXS);
  EXPECT_EQ(value(r), 0xFFFFFFFFFFFFF1FFull);
  setP(m, 14);
  readField(m, 0x80000, r, kFieldWP);  // 15 nibbles into 0..14
  EXPECT_EQ(value(r) & 0xFFFF, 0x4321u);
  EXPECT_EQ(value(r) >> 60, 0xFu);
  r = reg(0x123456789ABCDEF0ull);
  writeField(m, 0x80100, r, kFieldM);  // nibbles 3..14 go to 80100..8010B
  EXPECT_EQ(readNibbles(m, 0x80100, 8), 0x6789ABCDu);
  EXPECT_EQ(readNibbles(m, 0x80108, 5), 0x02345u);
}

TEST_F(MemoryAccess, WritesToRomAreIgnored) {
  load("NIBHEX 12345");
  Reg64 r = reg(0xFFFFF);
  writeField(m, 0, r, kFieldA);
  writeNibbles(m, 0, 0, 5);
  EXPECT_EQ(read5(m, 0), 0x54321u);
}

TEST_F(MemoryAccess, BlockMovesHandleOverlapInTheirDirection) {
  mapRamEverywhere();
  for (uint32_t i = 0; i < 40; ++i)
    writeNibbles(m, 0x80000 + i, i & 0xF, 1);
  copyNibblesDown(m, 0x80000 + 40, 0x80000 + 43, 40);  // up by 3, top down
  for (uint32_t i = 0; i < 40; ++i)
    EXPECT_EQ(readNibbles(m, 0x80003 + i, 1), i & 0xF) << i;
  copyNibbles(m, 0x80003, 0x80000, 40);  // back down by 3, bottom up
  for (uint32_t i = 0; i < 40; ++i)
    EXPECT_EQ(readNibbles(m, 0x80000 + i, 1), i & 0xF) << i;
}

TEST_F(MemoryAccess, DataPointerInstructions) {
  run("LC #00100\nCONFIG\nLC #80000\nCONFIG\nCONFIG\n"
      "LC #FEDCBA9876543210\nD0=(5) #80000\nDAT0=C W\nD1=(5) #80008\nA=DAT1 8\nD0=D0+ 16\nD1=D1- "
      "8\nSHUTDN");
  EXPECT_EQ(value(m.vm.A), 0xFEDCBA98ull);
  EXPECT_EQ(m.vm.D0, 0x80010u);
  EXPECT_EQ(m.vm.D1, 0x80000u);
  EXPECT_EQ(m.vm.carry, 0u);
}

TEST_F(MemoryAccess, PointerArithmeticWrapsWithCarry) {
  m.vm.D0 = 0xFFFFE;
  m.vm.D1 = 0x00001;
  run("D0=D0+ 3\nD1=D1- 2\nSHUTDN");
  EXPECT_EQ(m.vm.D0, 0x00001u);
  EXPECT_EQ(m.vm.D1, 0xFFFFFu);
  EXPECT_EQ(m.vm.carry, 1u);
}

TEST_F(MemoryAccess, ShortPointerLoadsKeepTheHighNibbles) {
  m.vm.D0 = 0x12345;
  m.vm.D1 = 0xABCDE;
  run("D0=(2) #FF\nD1=(4) #0000\nSHUTDN");
  EXPECT_EQ(m.vm.D0, 0x123FFu);
  EXPECT_EQ(m.vm.D1, 0xA0000u);
}

}  // namespace
}  // namespace tavrel::machine
