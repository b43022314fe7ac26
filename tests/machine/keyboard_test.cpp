// Key matrix reads, key delivery into the ROM's key buffer, pending keys, shift keys and the
// interrupts that key presses and releases raise.
#include "Keyboard.h"
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

constexpr uint32_t kGuard = 0x8065B;
constexpr uint32_t kHead = 0x80669;
constexpr uint32_t kTail = 0x8066A;
constexpr uint32_t kSlots = 0x8066B;

class KeyboardTest : public PeripheralTest {
 protected:
  // The ROM is ready to take keys into its buffer.
  void openKeyBuffer() {
    m.vm.interruptsEnabled = 1;
    m.vm.ST |= 0x8000;
    poke(kGuard, 0, 1);
    poke(kHead, 0, 1);
    poke(kTail, 0, 1);
  }
  uint32_t slot(int i) const { return peek(kSlots + 2 * i, 2); }
  uint32_t tail() const { return peek(kTail, 1); }
  void clearSignals() {
    m.vm.interruptPending = 0;
    host.wakeUpSignalled = false;
  }
};

TEST_F(KeyboardTest, RemoteKeyCodes) {
  EXPECT_EQ(keyFromRemoteCode(0x11), 0);
  EXPECT_EQ(keyFromRemoteCode(0x16), 5);
  EXPECT_EQ(keyFromRemoteCode(0x17), kNullKey);
  EXPECT_EQ(keyFromRemoteCode(0x23), 8);
  EXPECT_EQ(keyFromRemoteCode(0x24), kNullKey);
  EXPECT_EQ(keyFromRemoteCode(0x25), 9);
  EXPECT_EQ(keyFromRemoteCode(0x36), 15);
  EXPECT_EQ(keyFromRemoteCode(0x41), 16);
  EXPECT_EQ(keyFromRemoteCode(0x75), 35);
  EXPECT_EQ(keyFromRemoteCode(0x81), 36);
  EXPECT_EQ(keyFromRemoteCode(0x95), 45);
  EXPECT_EQ(keyFromRemoteCode(0xA1), kOnKey);
  EXPECT_EQ(keyFromRemoteCode(0xA5), 50);
  EXPECT_EQ(keyFromRemoteCode(0xA6), kNullKey);
  EXPECT_EQ(keyFromRemoteCode(0x00), kNullKey);
  EXPECT_EQ(keyFromRemoteCode(0x40), kNullKey);
  EXPECT_EQ(keyFromRemoteCode(0xF1), kNullKey);
}

TEST_F(KeyboardTest, WithNoOutLinesOnlyOnIsRead) {
  m.vm.keyMode = 1;
  keyDown(m, 0);
  writeKeyOut(m, 0);
  EXPECT_EQ(readKeyIn(m), 0u);
  keyDown(m, kOnKey);
  EXPECT_EQ(readKeyIn(m), 0x8000u);
  keyUp(m, kOnKey);
  EXPECT_EQ(readKeyIn(m), 0u);
}

TEST_F(KeyboardTest, InReadsTheRowsSelectedByOut) {
  m.vm.keyMode = 1;
  keyDown(m, 0);   // row 5, 0x01
  keyDown(m, 16);  // row 4, 0x40
  writeKeyOut(m, 1u << 5);
  EXPECT_EQ(readKeyIn(m), 0x01u);
  writeKeyOut(m, (1u << 5) | (1u << 4));
  EXPECT_EQ(readKeyIn(m), 0x41u);
  writeKeyOut(m, 0x1F00 | (1u << 4));  // OUT keeps 12 bits; only the low 8 select rows
  EXPECT_EQ(m.vm.keyOut, 0xF10u);
  EXPECT_EQ(readKeyIn(m), 0x40u);
}

TEST_F(KeyboardTest, KeyModeKeyOutsideOutRaisesNoInterrupt) {
  m.vm.keyMode = 1;
  m.vm.interruptsEnabled = 1;
  writeKeyOut(m, 1u << 0);
  clearSignals();
  keyDown(m, 0);  // row 5
  EXPECT_EQ(m.vm.keyRows[5], 0x01u);
  EXPECT_EQ(m.vm.interruptPending, 0u);
  EXPECT_FALSE(host.wakeUpSignalled);
  keyDown(m, 12);  // row 0
  EXPECT_EQ(m.vm.interruptPending, 1u);
  EXPECT_TRUE(host.wakeUpSignalled);
}

TEST_F(KeyboardTest, KeyModeWithInterruptsOffRaisesNothing) {
  m.vm.keyMode = 1;
  m.vm.interruptsEnabled = 0;
  writeKeyOut(m, 0xFF);
  clearSignals();
  keyDown(m, 12);
  EXPECT_EQ(m.vm.interruptPending, 0u);
}

TEST_F(KeyboardTest, OnKeySetsAllRowsAndInterrupts) {
  clearSignals();
  keyDown(m, kOnKey);
  for (uint32_t row : m.vm.keyRows)
    EXPECT_EQ(row & 0x8000, 0x8000u);
  EXPECT_EQ(m.vm.interruptPending, 1u);
  EXPECT_TRUE(host.wakeUpSignalled);
  EXPECT_EQ(m.keys.onHeld, 1u);
  keyUp(m, kOnKey);
  for (uint32_t row : m.vm.keyRows)
    EXPECT_EQ(row, 0u);
  EXPECT_EQ(m.keys.onHeld, 0u);
}

TEST_F(KeyboardTest, KeysWhileOnIsHeldOnlyInterrupt) {
  openKeyBuffer();
  keyDown(m, kOnKey);
  writeKeyOut(m, 0xFF);
  clearSignals();
  keyDown(m, 10);
  EXPECT_EQ(tail(), 0u);  // nothing delivered
  EXPECT_EQ(m.vm.interruptPending, 1u);
}

TEST_F(KeyboardTest, KeyGoesIntoTheRomKeyBuffer) {
  openKeyBuffer();
  clearSignals();
  keyDown(m, 10);
  EXPECT_EQ(slot(0), 11u);
  EXPECT_EQ(tail(), 1u);
  EXPECT_TRUE(host.wakeUpSignalled);
  keyDown(m, 0);
  EXPECT_EQ(slot(1), 1u);
  EXPECT_EQ(tail(), 2u);
}

TEST_F(KeyboardTest, FullKeyBufferDropsTheCode) {
  openKeyBuffer();
  poke(kHead, 5, 1);
  poke(kTail, 4, 1);  // head = tail + 1: full
  poke(kSlots + 8, 0, 2);
  keyDown(m, 10);
  EXPECT_EQ(tail(), 4u);
  EXPECT_EQ(slot(4), 0u);
  poke(kHead, 0, 1);
  poke(kTail, 15, 1);  // wraps: still full
  keyDown(m, 11);
  EXPECT_EQ(tail(), 15u);
}

TEST_F(KeyboardTest, TailWrapsAfterSlotFifteen) {
  openKeyBuffer();
  poke(kHead, 3, 1);
  poke(kTail, 15, 1);
  keyDown(m, 10);
  EXPECT_EQ(slot(15), 11u);
  EXPECT_EQ(tail(), 0u);
}

TEST_F(KeyboardTest, ShiftKeysModifyTheCode) {
  openKeyBuffer();
  keyDown(m, 41);  // delivers its own code
  EXPECT_EQ(slot(0), 192u);
  keyDown(m, 10);
  EXPECT_EQ(slot(1), 75u);
  keyUp(m, 10);
  keyUp(m, 41);
  keyDown(m, 36);
  EXPECT_EQ(slot(2), 64u);
  keyDown(m, 10);
  EXPECT_EQ(slot(3), 139u);
  keyDown(m, 41);  // a shift key delivers its own code whatever is held
  EXPECT_EQ(slot(4), 192u);
  keyDown(m, 10);  // with both held: nothing
  EXPECT_EQ(tail(), 5u);
  EXPECT_EQ(m.keys.shiftState, 6u);
}

TEST_F(KeyboardTest, ReleasingAShiftKeyInterruptsEvenInBufferMode) {
  openKeyBuffer();
  keyDown(m, 36);
  clearSignals();
  keyUp(m, 36);
  EXPECT_EQ(m.vm.interruptPending, 1u);
  EXPECT_TRUE(host.wakeUpSignalled);
  EXPECT_EQ(m.keys.shiftState, 0u);
  keyDown(m, 41);
  clearSignals();
  keyUp(m, 41);
  EXPECT_EQ(m.vm.interruptPending, 1u);
  clearSignals();
  keyUp(m, 10);  // an ordinary key's release raises nothing
  EXPECT_EQ(m.vm.interruptPending, 0u);
}

TEST_F(KeyboardTest, PendingKeyWaitsForKeyboardCheck) {
  m.vm.interruptsEnabled = 0;
  keyDown(m, 10);
  EXPECT_EQ(m.keys.pendingKey, 11u);
  openKeyBuffer();
  keyboardCheck(m);
  EXPECT_EQ(m.keys.pendingKey, 0u);
  EXPECT_EQ(slot(0), 11u);
}

TEST_F(KeyboardTest, SecondKeyBeforeIntonCancelsBoth) {
  m.vm.interruptsEnabled = 0;
  keyDown(m, 10);
  keyDown(m, 0);
  EXPECT_EQ(m.keys.pendingKey, 0u);
  keyDown(m, 11);  // a third starts afresh
  EXPECT_EQ(m.keys.pendingKey, 12u);
}

TEST_F(KeyboardTest, ReleasingThePendingKeyWithdrawsIt) {
  m.vm.interruptsEnabled = 0;
  keyDown(m, 10);
  keyUp(m, 0);  // another key: stays
  EXPECT_EQ(m.keys.pendingKey, 11u);
  keyUp(m, 10);
  EXPECT_EQ(m.keys.pendingKey, 0u);
}

TEST_F(KeyboardTest, ReleasingTheUnshiftedKeyWithdrawsAShiftedPendingKey) {
  m.vm.interruptsEnabled = 0;
  m.keys.shiftState = 2;  // key 41 held since before
  keyDown(m, 10);         // pending 64 | 11
  EXPECT_EQ(m.keys.pendingKey, 75u);
  keyUp(m, 10);
  EXPECT_EQ(m.keys.pendingKey, 0u);
}

TEST_F(KeyboardTest, KeyboardCheckInKeyModeRequestsInterruptThree) {
  m.vm.keyMode = 1;
  writeKeyOut(m, 0xFF);
  keyboardCheck(m);
  EXPECT_EQ(m.vm.interruptPending, 0u);
  keyDown(m, 5);
  m.vm.interruptPending = 0;
  keyboardCheck(m);
  EXPECT_EQ(m.vm.interruptPending, 3u);
}

TEST_F(KeyboardTest, NullKeyChangesNothing) {
  openKeyBuffer();
  clearSignals();
  keyDown(m, kNullKey);
  keyUp(m, kNullKey);
  for (uint32_t row : m.vm.keyRows)
    EXPECT_EQ(row, 0u);
  EXPECT_EQ(tail(), 0u);
  EXPECT_FALSE(host.wakeUpSignalled);
}

}  // namespace
}  // namespace tavrel::machine
