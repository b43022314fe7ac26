// The two hardware timers through the interface operations, and the timer factory.
#include <gtest/gtest.h>

#include <atomic>

#include "TaskTestSupport.h"
#include "tavrel/excpt/Exception.h"
#include "timing/TimerFactory.h"
#include "timing/TimerSlots.h"

namespace tavrel::timing {
namespace {

using Clock = std::chrono::steady_clock;

double countsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count() * TimerService::kTimer2Rate;
}

TEST(HardwareTimerTest, TimerTwoCountsDown8192ASecond) {
  TimerService timers;
  const auto beforeStart = Clock::now();
  startTimer(timers, kTimer2Selector);
  const auto afterStart = Clock::now();
  // Let some time pass; the reading is measured against it, whatever it turns out to be.
  while (Clock::now() - afterStart < std::chrono::milliseconds(250)) {
  }
  const auto beforeRead = Clock::now();
  const std::uint32_t value = getTimerValue(timers, kTimer2Selector);
  const auto afterRead = Clock::now();
  const double elapsed = 0xFFFFFFFFu - value;
  EXPECT_GE(elapsed, countsBetween(afterStart, beforeRead) - 1);
  EXPECT_LE(elapsed, countsBetween(beforeStart, afterRead) + 1);
}

TEST(HardwareTimerTest, StoppedTimersKeepTheirValue) {
  TimerService timers;
  setTimerValue(timers, kTimer2Selector, 5000);
  EXPECT_EQ(getTimerValue(timers, kTimer2Selector), 5000u);
  setTimerValue(timers, kTimer1Selector, 9);
  EXPECT_EQ(getTimerValue(timers, kTimer1Selector), 9u);
  EXPECT_EQ(getTimerValue(timers, 3), 9u);  // any selector but 8192 is timer 1

  setTimerValue(timers, kTimer2Selector, 0x40000000);
  startTimer(timers, kTimer2Selector);
  stopTimer(timers, kTimer2Selector);
  const std::uint32_t kept = getTimerValue(timers, kTimer2Selector);
  EXPECT_LE(kept, 0x40000000u);
  EXPECT_GT(kept, 0x40000000u - 8192u);  // far less than a second passed
  stopTimer(timers, kTimer2Selector);    // stopping a stopped timer keeps the value
  EXPECT_EQ(getTimerValue(timers, kTimer2Selector), kept);
}

TEST(HardwareTimerTest, RunningTimerOneShowsItsLowFourBits) {
  TimerService timers;
  setTimerValue(timers, kTimer1Selector, 15);
  startTimer(timers, kTimer1Selector);
  EXPECT_LE(getTimerValue(timers, kTimer1Selector), 15u);
  setTimerValue(timers, kTimer1Selector, 0x1F);  // reloads the running timer
  EXPECT_LE(getTimerValue(timers, kTimer1Selector), 0xFu);
}

TEST(HardwareTimerTest, ReloadingTimerTwoAnchorsTheClockCount) {
  TimerService timers;
  startTimer(timers, kTimer2Selector);
  setTimerValue(timers, kTimer2Selector, 1000);
  datetime now{};
  getDateTime(timers, &now);
  EXPECT_EQ(now.count, 1000u + 8192u);
}

TEST(HardwareTimerTest, ExpiryCallsTheHandlerOnTheTimerTask) {
  os::Event expired(true);
  std::atomic<bool> onTimerTask{false};
  const std::thread::id testThread = std::this_thread::get_id();
  auto timers = createTimerService();  // closed before what its handler uses goes away
  EXPECT_TRUE(setTimerHandler(*timers, kTimer1Selector, [&] {
                onTimerTask = std::this_thread::get_id() != testThread;
                expired.set();
              }).empty());
  setTimerValue(*timers, kTimer1Selector, 0);
  startTimer(*timers, kTimer1Selector);
  ASSERT_TRUE(expired.wait(os::test::kGenerous));
  EXPECT_TRUE(onTimerTask);
  // The previous handler comes back when another is installed.
  EXPECT_FALSE(setTimerHandler(*timers, kTimer1Selector, TimerHandler()).empty());
  timers->close();
}

TEST(HardwareTimerTest, StartingWithoutAServiceRaises7051) {
  try {
    startTimerService(nullptr);
    FAIL() << "no exception";
  } catch (const excpt::IException& e) {
    EXPECT_EQ(e.code(), 7051);
  }
}

}  // namespace
}  // namespace tavrel::timing
