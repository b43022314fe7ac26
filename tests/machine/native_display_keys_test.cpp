// The disp0 calls, the key wait and the beep.
#include "Display.h"
#include "Keyboard.h"
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

constexpr uint32_t kCode = 0x90000;

using NativeDisplayTest = PeripheralTest;

TEST_F(NativeDisplayTest, MapDisp0ThenMoveIt) {
  poke(0x90000, 0x5, 1);
  m.vm.C = reg(0x90000);
  callNative(m, 0x30, kCode);
  EXPECT_EQ(m.vm.disp0Page, 0x90u);
  poke(0x90000, 0xA, 1);
  poke(0x91FFF, 0xB, 1);
  auto* disp0 = reinterpret_cast<uint8_t*>(m.disp0);
  EXPECT_EQ(disp0[0] & 0xF, 0xA);
  EXPECT_EQ(disp0[4095] >> 4, 0xB);
  m.vm.headerLines = 1;
  m.vm.C = reg(0xA0000);
  callNative(m, 0x30, kCode);  // moving it shows the header first
  EXPECT_EQ(m.vm.disp0Page, 0xA0u);
  EXPECT_EQ(peek(0x90000, 1), 0x5u);  // RAM is back
  EXPECT_EQ(m.lcd.bytes[0] & 0xF, 0xA);
  callNative(m, 0x30, kCode);  // mapping at the same page again changes nothing
  EXPECT_EQ(peek(0xA0000, 1), 0xAu);
  callNative(m, 0x31, kCode);
  EXPECT_EQ(m.vm.disp0Page, 0u);
  EXPECT_EQ(peek(0xA0000, 1), 0u);
}

TEST_F(NativeDisplayTest, HeaderLinesAndOffset) {
  m.vm.C = reg(0x1FF);
  callNative(m, 0x33, kCode);
  EXPECT_EQ(m.vm.headerLines, 64u);  // C's low byte 0xFF, at most 64
  m.vm.C = reg(0x17);
  callNative(m, 0x33, kCode);
  EXPECT_EQ(m.vm.headerLines, 0x17u);
  m.vm.C = reg(0xFFFFF);
  callNative(m, 0x34, kCode);
  EXPECT_EQ(m.vm.headerOffset, 0x7FFu);
  m.vm.C = reg(0xFFFFFFFFFFFFFFFF);
  callNative(m, 0x35, kCode);
  EXPECT_EQ(value64(m.vm.C), 0xFFFFFFFFFFF00017u);
}

TEST_F(NativeDisplayTest, ShowHeaderCopiesDisp0) {
  auto* disp0 = reinterpret_cast<uint8_t*>(m.disp0);
  disp0[17] = 0x3C;
  m.vm.headerLines = 2;
  callNative(m, 0x32, kCode);
  EXPECT_EQ(m.lcd.bytes[kLcdLineBytes], 0x3C);
}

class NativeKeysTest : public PeripheralTest {
 protected:
  NativeKeysTest() {
    m.running = 1;
    m.vm.keyMode = 1;
  }
};

TEST_F(NativeKeysTest, KeyWaitWithoutAKeyTimesOut) {
  m.vm.C = reg(1000);
  m.vm.carry = 1;
  EXPECT_EQ(callNative(m, 0x0A, kCode), kCode);
  EXPECT_EQ(m.vm.carry, 0u);
  EXPECT_EQ(m.vm.keyOut, 0x7FFu);
  ASSERT_EQ(host.tasksStarted.size(), 1u);
  EXPECT_EQ(host.tasksStarted[0], "keydntaskfcn");
}

TEST_F(NativeKeysTest, KeyWaitWithTimeOutZeroLooksOnce) {
  m.vm.C = reg(0);
  callNative(m, 0x0A, kCode);
  EXPECT_EQ(m.vm.carry, 0u);
}

TEST_F(NativeKeysTest, KeyHeldThroughTheWholeTimeOutIsNoPress) {
  // Nothing releases the key on the default host: the wait ends with its time-out.
  keyDown(m, 10);
  m.vm.C = reg(50);
  callNative(m, 0x0A, kCode);
  EXPECT_EQ(m.vm.carry, 0u);
}

TEST_F(NativeKeysTest, KeyWaitMarksOnHeldWithRowThreeKey) {
  keyDown(m, kOnKey);
  keyDown(m, 32);  // row 3, bit 3
  m.running = 0;   // a pause request ends the wait for the release at once
  m.vm.C = reg(0);
  callNative(m, 0x0A, kCode);
  EXPECT_EQ(peek(0x80EF3, 2), 0x0Fu);
  EXPECT_EQ(m.vm.carry, 1u);
}

TEST_F(NativeKeysTest, BeepClearsCarryAndItsTaskEnds) {
  m.vm.carry = 1;
  EXPECT_EQ(callNative(m, 0x05, kCode), kCode);
  EXPECT_EQ(m.vm.carry, 0u);
  ASSERT_EQ(host.tasksStarted.size(), 1u);
  EXPECT_EQ(host.tasksStarted[0], "beeptaskfcn");
  EXPECT_TRUE(host.beep.isSignalled());
}

}  // namespace
}  // namespace tavrel::machine
