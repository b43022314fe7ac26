// Timer expiry, the timer 2 control read rule, the run bit, and the default host's timers.
#include "Timers.h"
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

class TimersTest : public PeripheralTest {
 protected:
  void clearSignals() {
    m.vm.interruptPending = 0;
    host.wakeUpSignalled = false;
  }
};

TEST_F(TimersTest, ExpiryNeedsTheRunBit) {
  m.vm.timer2Control = kTimerInterrupt | kTimerWake;
  m.vm.timer1Control = kTimerInterrupt | kTimerWake;
  clearSignals();
  timer1Expired(m);
  timer2Expired(m);
  EXPECT_EQ(m.vm.timer1Control & kTimerExpired, 0);
  EXPECT_EQ(m.vm.timer2Control & kTimerExpired, 0);
  EXPECT_EQ(m.vm.interruptPending, 0u);
  EXPECT_FALSE(host.wakeUpSignalled);
}

TEST_F(TimersTest, ExpiryNeedsInterruptOrWake) {
  m.vm.timer2Control = kTimerRun;
  m.vm.timer1Control = 0;
  clearSignals();
  timer1Expired(m);
  timer2Expired(m);
  EXPECT_EQ(m.vm.timer1Control, 0);
  EXPECT_EQ(m.vm.timer2Control, kTimerRun);
  EXPECT_EQ(m.vm.interruptPending, 0u);
}

TEST_F(TimersTest, InterruptEnabledRequestsAnInterruptWithoutWaking) {
  m.vm.timer2Control = kTimerRun;
  m.vm.timer1Control = kTimerInterrupt;
  clearSignals();
  timer1Expired(m);
  EXPECT_EQ(m.vm.timer1Control, kTimerInterrupt | kTimerExpired);
  EXPECT_EQ(m.vm.interruptPending, 1u);
  EXPECT_FALSE(host.wakeUpSignalled);
}

TEST_F(TimersTest, WakeEnabledWakesWithoutInterrupt) {
  m.vm.timer2Control = kTimerRun | kTimerWake;
  clearSignals();
  timer2Expired(m);
  EXPECT_EQ(m.vm.timer2Control, kTimerRun | kTimerWake | kTimerExpired);
  EXPECT_EQ(m.vm.interruptPending, 0u);
  EXPECT_TRUE(host.wakeUpSignalled);
}

TEST_F(TimersTest, Timer2ControlBitThreeFollowsTheSignOfTimer2) {
  writeTimer2ControlRegister(m, kTimerExpired);  // stored bit 3, timers stopped
  writeTimer2(m, 5);
  EXPECT_EQ(readTimer2ControlRegister(m), 0u);  // non-negative: bit 3 reads 0
  writeTimer2(m, 0x80000000);
  EXPECT_EQ(readTimer2ControlRegister(m), kTimerExpired);  // negative: the stored bit
  writeTimer2ControlRegister(m, kTimerWake);
  EXPECT_EQ(readTimer2ControlRegister(m), kTimerWake | kTimerExpired);  // computed
  writeTimer2ControlRegister(m, 0);
  EXPECT_EQ(readTimer2ControlRegister(m), 0u);
}

TEST_F(TimersTest, Timer1ControlDropsBitZero) {
  writeTimer1ControlRegister(m, 0xF);
  EXPECT_EQ(m.vm.timer1Control, 0xE);
}

TEST_F(TimersTest, RunBitStartsAndStopsBothTimers) {
  writeTimer1(m, 9);
  writeTimer2(m, 1000);
  host.advanceTime(m, 5000);
  EXPECT_EQ(readTimer2(m), 1000u);  // stopped: nothing counts
  writeTimer2ControlRegister(m, kTimerRun);
  host.advanceTime(m, 600);
  EXPECT_EQ(readTimer2(m), 400u);
  EXPECT_EQ(readTimer1(m), 8u);  // 600 ticks = one 16 Hz count and a part
  writeTimer2ControlRegister(m, kTimerRun | kTimerInterrupt);  // run bit unchanged
  host.advanceTime(m, 100);
  EXPECT_EQ(readTimer2(m), 300u);
  writeTimer2ControlRegister(m, 0);
  host.advanceTime(m, 100);
  EXPECT_EQ(readTimer2(m), 300u);
  EXPECT_EQ(readTimer1(m), 8u);
}

TEST_F(TimersTest, RunningTimersExpireThroughTheHost) {
  writeTimer1ControlRegister(m, kTimerInterrupt);
  writeTimer2(m, 100);
  writeTimer1(m, 15);
  writeTimer2ControlRegister(m, kTimerRun | kTimerWake);
  clearSignals();
  host.advanceTime(m, 99);
  EXPECT_FALSE(host.wakeUpSignalled);
  host.advanceTime(m, 1);
  EXPECT_TRUE(host.wakeUpSignalled);
  EXPECT_NE(m.vm.timer2Control & kTimerExpired, 0);
  EXPECT_EQ(readTimer2(m), 0xFFFFFFFFu);  // passed zero: negative from now on
  EXPECT_EQ(readTimer2ControlRegister(m) & kTimerExpired, kTimerExpired);
  EXPECT_EQ(m.vm.interruptPending, 0u);
  host.advanceTime(m, 15 * 512 - 100);
  EXPECT_EQ(m.vm.interruptPending, 1u);
  EXPECT_NE(m.vm.timer1Control & kTimerExpired, 0);
  EXPECT_EQ(readTimer1(m), 15u);  // reloaded
}

TEST_F(TimersTest, ReloadingARunningTimer) {
  writeTimer2ControlRegister(m, kTimerRun);
  writeTimer2(m, 50);
  host.advanceTime(m, 20);
  EXPECT_EQ(readTimer2(m), 30u);
  writeTimer1(m, 0x1F);  // four bits
  EXPECT_EQ(readTimer1(m), 0xFu);
}

}  // namespace
}  // namespace tavrel::machine
