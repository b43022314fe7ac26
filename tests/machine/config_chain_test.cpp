// The configuration chain, the module priorities and the bank switcher.
#include <gtest/gtest.h>

#include <cstring>

#include "Configuration.h"
#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

class ConfigChain : public InterpreterTest {
 protected:
  void config(uint32_t c) {
    m.vm.C = reg(c);
    configure(m);
  }
  void unconfig(uint32_t c) {
    m.vm.C = reg(c);
    unconfigure(m);
  }
  // Register block at 00100, 128 pages of RAM at 80000: what the ROM's start code does.
  void startUp() {
    config(0x00100);
    config(0x80000);
    config(0x80000);
  }
  uint32_t* ramPage(uint32_t index) const { return m.port0 + index * (kPageBytes / 4); }
};

TEST_F(ConfigChain, StartUpConfigurationShowsRamAndRegisters) {
  load("NIBHEX 12345");
  startUp();
  EXPECT_EQ(m.vm.ioBase, 4);
  EXPECT_EQ(m.vm.configState, kConfigRegisterBlock | kConfigPort0);
  Reg64 r = reg(0xABCDE);
  writeField(m, 0x80000, r, kFieldA);
  EXPECT_EQ(m.port0[0] & 0xFFFFF, 0xABCDEu);
  writeField(m, 0x00000, r, kFieldA);
  EXPECT_EQ(read5(m, 0), 0x54321u);
  // The register block answers at 00100: nibble 09 reads 1 whatever memory holds there.
  Reg64 in = reg(0);
  readField(m, 0x00109, in, kFieldP);
  EXPECT_EQ(in.lo, 1u);
  EXPECT_EQ(m.readPage[0x80], ramPage(0));
  EXPECT_EQ(m.readPage[0xFF], ramPage(127));
}

TEST_F(ConfigChain, ZeroSizeGivesTwoHundredFiftySixPagesClampedToTheBuffer) {
  config(0x00100);
  config(0x00000);
  EXPECT_EQ(m.vm.port0Pages, 256u);
  config(0x00000);
  EXPECT_EQ(m.readPage[0], ramPage(0));
  EXPECT_EQ(m.readPage[127], ramPage(127));
  EXPECT_EQ(m.vm.pagePriority[128], 0u);  // no buffer behind pages 128-255
  EXPECT_EQ(m.writePage[256], m.writePage[0]);
}

TEST_F(ConfigChain, TheWholeChainInOrder) {
  startUp();
  config(0xFF000);  // bank switcher: size
  config(0x00000);  // bank switcher at page 00
  EXPECT_EQ(m.vm.bankSwitcherPage, 0);
  config(0xC0000);  // port 1: 64 pages
  config(0x40000);
  config(0xC0000);  // port 2: 64 pages
  config(0xC0000);
  EXPECT_EQ(m.vm.configState, 31u);
  EXPECT_EQ(m.vm.port1Pages, 64u);
  EXPECT_EQ(m.vm.port1Page, 0x40u);
  EXPECT_EQ(m.vm.port2Page, 0xC0u);
  const uint32_t before[3] = {m.vm.configState, m.vm.port2Page, m.vm.port2Pages};
  config(0x12345);
  EXPECT_EQ(m.vm.configState, before[0]);
  EXPECT_EQ(m.vm.port2Page, before[1]);
  EXPECT_EQ(m.vm.port2Pages, before[2]);
}

TEST_F(ConfigChain, HigherPriorityWinsWhateverTheOrder) {
  // Port 1 and port 2 over the same 64 pages at 80000 first, then port 0 over them all.
  config(0x00100);
  config(0xFF000);  // port 0: one page, configured last by UNCNFG/CONFIG below
  config(0x00000);
  config(0xFF000);
  config(0x10000);  // bank switcher at page 10
  config(0xC0000);
  config(0x80000);  // port 1 at 80000
  config(0xC0000);
  config(0x80000);  // port 2 at 80000
  const uint32_t* port12 = m.port12;
  EXPECT_EQ(m.readPage[0x80], port12);
  EXPECT_EQ(m.vm.pagePriority[0x80], kPort2Priority);
  // Port 0 moves over them: release it and configure it again at 80000 with 128 pages.
  unconfig(0x00000);
  config(0x80000);
  config(0x80000);
  EXPECT_EQ(m.readPage[0x80], ramPage(0));
  EXPECT_EQ(m.vm.pagePriority[0x80], kPort0Priority);
  // Releasing port 0 rebuilds: port 2 shows again, not port 1.
  unconfig(0x80000);
  EXPECT_EQ(m.vm.pagePriority[0x80], kPort2Priority);
}

TEST_F(ConfigChain, MappingOrderDoesNotDecideTheOwner) {
  for (bool port1First : {true, false}) {
    chipsetReset(m);
    const uint32_t port1 = HostAddress::kPort12;
    const uint32_t port0 = HostAddress::kPort0;
    if (port1First)
      mapModule(m, 0x80, kPort1Priority, port1, 64, 64, true);
    mapModule(m, 0x80, kPort0Priority, port0, 64, 128, true);
    if (!port1First)
      mapModule(m, 0x80, kPort1Priority, port1, 64, 64, true);
    EXPECT_EQ(m.readPage[0x80], ramPage(0)) << port1First;
    EXPECT_EQ(m.vm.pagePriority[0xBF], kPort0Priority) << port1First;
  }
}

TEST_F(ConfigChain, BankSwitchShowsBanksExceptUnderModules) {
  std::vector<uint8_t> image{7, 128, 128, 128, 128, 128, 128, 128};
  image.resize(8 + 7 * 131072, 0);
  for (int bank = 0; bank < 7; ++bank)
    image[8 + bank * 131072] = static_cast<uint8_t>(bank + 1);
  loadRomImage(m, image);
  rebuildMap(m);
  startUp();
  config(0xFF000);
  config(0x20000);  // bank switcher at page 20
  EXPECT_EQ(read2(m, 0x00000), 1u);
  // Address bits 5-6 = 2 and 1-4 = 5.
  Reg64 ignored = reg(0);
  writeField(m, 0x20000 | (2 << 5) | (5 << 1), ignored, kFieldP);
  EXPECT_EQ(m.vm.romBankLow, 2u);
  EXPECT_EQ(m.vm.romBankHigh, 5u);
  EXPECT_EQ(read2(m, 0x00000), 3u);         // low window: bank 2
  EXPECT_EQ(read2(m, 0x40000), 6u);         // high window: bank 5
  EXPECT_EQ(m.readPage[0x80], ramPage(0));  // RAM stays
  // Bank 9 does not exist: the filler page.
  writeField(m, 0x20000 | (9 << 1), ignored, kFieldP);
  EXPECT_EQ(m.readPage[0x40], m.filler);
}

TEST_F(ConfigChain, UnconfigureOfAnUnknownAddressChangesNothing) {
  startUp();
  m.vm.C = reg(0x30000);
  const VendelMachine before = m.vm;
  unconfigure(m);
  EXPECT_EQ(std::memcmp(&before, &m.vm, sizeof before), 0);
}

TEST_F(ConfigChain, UnconfigureTheRegisterBlockKeepsTheModules) {
  startUp();
  unconfig(0x0013F);
  EXPECT_EQ(m.vm.ioBase, -1);
  EXPECT_EQ(m.vm.configState, kConfigPort0);
  EXPECT_EQ(m.readPage[0x80], ramPage(0));
  config(0x00200);  // the chain asks for the register block again
  EXPECT_EQ(m.vm.ioBase, 8);
}

TEST_F(ConfigChain, Disp0CoversPagesAndGivesThemBack) {
  startUp();
  mapDisp0(m, 0x90);
  EXPECT_EQ(m.readPage[0x90], m.disp0);
  EXPECT_EQ(m.writePage[0x91], m.disp0 + kPageBytes / 4);
  rebuildMap(m);  // survives a rebuild
  EXPECT_EQ(m.readPage[0x90], m.disp0);
  unmapDisp0(m);
  EXPECT_EQ(m.readPage[0x90], ramPage(0x10));
  EXPECT_EQ(m.writePage[0x91], ramPage(0x11));
}

TEST_F(ConfigChain, BankSwitchUnderDisp0KeepsWhatDisp0Covers) {
  config(0x00100);
  config(0xFF000);
  config(0x00000);
  config(0xFF000);
  config(0x30000);
  mapDisp0(m, 0x10);
  Reg64 ignored = reg(0);
  writeField(m, 0x30000 | (1 << 5), ignored, kFieldP);
  EXPECT_EQ(m.readPage[0x10], m.disp0);
  unmapDisp0(m);
  EXPECT_EQ(m.vm.readPage[0x10], m.vm.romBanks[1] + 0x10 * kPageBytes);
}

}  // namespace
}  // namespace tavrel::machine
