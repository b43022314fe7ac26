// The call table itself, RECONFIGURE, status and constant calls, and the calls that go to
// the host (pause, remote link, data logger).
#include <cstring>

#include "Configuration.h"
#include "Display.h"
#include "MemoryMap.h"
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

constexpr uint32_t kCode = 0x90000;

using NativeSystemTest = PeripheralTest;

TEST_F(NativeSystemTest, UnlistedCallsContinueAfterTheCallAndChangeNothing) {
  const VendelMachine before = m.vm;
  EXPECT_EQ(callNative(m, 0x70, kCode), kCode);
  EXPECT_EQ(callNative(m, 0xEF, kCode), kCode);
  EXPECT_EQ(callNative(m, 0xFF, kCode), kCode);
  EXPECT_EQ(std::memcmp(&before, &m.vm, sizeof before), 0);
}

TEST_F(NativeSystemTest, ProbeTellsWhetherACallDoesSomething) {
  poke(kCode, 0x05, 2);
  m.vm.carry = 1;
  EXPECT_EQ(callNative(m, 0x15, kCode), kCode + 2);
  EXPECT_EQ(m.vm.carry, 0u);
  poke(kCode, 0x20, 2);
  callNative(m, 0x15, kCode);
  EXPECT_EQ(m.vm.carry, 1u);
  poke(kCode, 0x09, 2);  // listed, though it does nothing
  callNative(m, 0x15, kCode);
  EXPECT_EQ(m.vm.carry, 0u);
  EXPECT_FALSE(hasNativeHandler(0xEF));
  EXPECT_TRUE(hasNativeHandler(0x90));
}

TEST_F(NativeSystemTest, HardwareStatusCallsSkipTheirArguments) {
  m.vm.HST = 0x1;
  poke(kCode, 0x4, 1);
  EXPECT_EQ(callNative(m, 0x28, kCode), kCode + 1);
  EXPECT_EQ(m.vm.HST, 0x5u);
  poke(kCode, 0x8, 1);
  EXPECT_EQ(callNative(m, 0x38, kCode), kCode + 3);
  EXPECT_EQ(m.vm.HST, 0xDu);
}

TEST_F(NativeSystemTest, KeyModeFollowsCarry) {
  m.vm.carry = 0;
  callNative(m, 0x2D, kCode);
  EXPECT_EQ(m.vm.keyMode, 1u);
  m.vm.carry = 1;
  callNative(m, 0x2D, kCode);
  EXPECT_EQ(m.vm.keyMode, 0u);
  EXPECT_EQ(m.vm.carry, 0u);
}

TEST_F(NativeSystemTest, ReconfigureRestoresTheStartUpMap) {
  poke(0x80000, 0x7, 1);
  unmapDisp0(m);
  chipsetReset(m);  // nothing configured: RAM gone
  m.vm.C = reg(0x40000);
  configure(m);  // register block elsewhere
  m.vm.C = reg(0xFEDCBA9876543210);
  setP(m, 6);
  m.vm.carry = 0;
  callNative(m, 0x41, kCode);
  EXPECT_EQ(m.vm.carry, 1u);
  EXPECT_EQ(m.vm.ioBase, 0x00100 >> 6);
  EXPECT_EQ(m.vm.port0Page, 0x80u);
  EXPECT_EQ(m.vm.port0Pages, 128u);
  EXPECT_EQ(peek(0x80000, 1), 0x7u);  // the same RAM is back
  poke(0xFFFFF, 0x3, 1);
  EXPECT_EQ(peek(0xFFFFF, 1), 0x3u);
  EXPECT_EQ(value64(m.vm.C), 0xFEDCBA9876543210u);
  EXPECT_EQ(m.vm.P, 0u);
}

TEST_F(NativeSystemTest, PauseGoesToTheHost) {
  m.vm.C = reg(183 * 40 + 100);
  callNative(m, 0x0B, kCode);
  ASSERT_EQ(host.pauses.size(), 1u);
  EXPECT_EQ(host.pauses[0], 40u);
}

TEST_F(NativeSystemTest, DefaultHostHasNoRemoteLinkOrDataLogger) {
  for (uint32_t n : {0x50u, 0x56u, 0x90u}) {
    m.vm.carry = 0;
    EXPECT_EQ(callNative(m, n, kCode), kCode);
    EXPECT_EQ(m.vm.carry, 1u) << n;
    EXPECT_EQ(m.vm.annunciators & kSerialAnnunciator, 0) << n;
  }
  setAnnunciators(m, 0x21);
  callNative(m, 0x51, kCode);
  EXPECT_EQ(m.vm.annunciators, 0x01);
}

}  // namespace
}  // namespace tavrel::machine
