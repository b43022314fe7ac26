// When the timer task looks next: the earliest deadline among the running hardware timers,
// the active tick timers and the clock second, so that it can sleep until then.
#include <gtest/gtest.h>

#include "timing/TimerService.h"

namespace tavrel::timing {
namespace {

constexpr std::uint64_t f = TimerService::kFrequency;

// The counter values around a call that reads the counter itself.
struct Span {
  std::uint64_t before;
  std::uint64_t after;
};

template <typename Action>
Span around(Action action) {
  const std::uint64_t before = TimerService::counter();
  action();
  return {before, TimerService::counter()};
}

TEST(TimerScheduleTest, WithNothingRunningTheNextPassIsTheClockSecond) {
  const std::uint64_t made = TimerService::counter();
  TimerService timers;
  timers.value1 = 0;  // stopped timers count for nothing, however close their value
  timers.value2 = 0;
  const std::uint64_t next = timers.runPass(made);
  EXPECT_GE(next, made + f);
  EXPECT_LE(next, TimerService::counter() + f);
}

TEST(TimerScheduleTest, TheEarliestRunningDeadlineComesFirst) {
  TimerService timers;
  timers.value1 = 2;  // 2/16 s
  const Span timer1 = around([&] { timers.start1(); });
  std::uint64_t next = timers.runPass(timer1.before);
  EXPECT_GE(next, timer1.before + 2 * f / 16);
  EXPECT_LE(next, timer1.after + 2 * f / 16);

  timers.value2 = 512;  // 1/16 s
  const Span timer2 = around([&] { timers.start2(); });
  next = timers.runPass(timer1.before);
  EXPECT_GE(next, timer2.before + 512 * f / 8192);
  EXPECT_LE(next, timer2.after + 512 * f / 8192);

  std::uint32_t tick = 0;
  const Span ticked = around([&] { tick = timers.startTick(10); });
  next = timers.runPass(timer1.before);
  EXPECT_GE(next, ticked.before + 10 * f / 1000);
  EXPECT_LE(next, ticked.after + 10 * f / 1000);

  // Stopping falls back to the next one still running.
  ASSERT_EQ(timers.stopTick(tick), 1);
  timers.stop2();
  next = timers.runPass(timer1.before);
  EXPECT_GE(next, timer1.before + 2 * f / 16);
  EXPECT_LE(next, timer1.after + 2 * f / 16);
}

TEST(TimerScheduleTest, AnExpiredTimerIsReloadedAndItsNextPeriodIsTheNextPass) {
  TimerService timers;
  int expired = 0;
  timers.handler1 = [&] { ++expired; };
  timers.value1 = 1;
  const Span started = around([&] { timers.start1(); });
  const std::uint64_t first = timers.runPass(started.before);
  EXPECT_EQ(expired, 0);
  const std::uint64_t reload = first + f * 15 / 16;
  EXPECT_LE(timers.runPass(first), reload);  // the clock second may come first
  EXPECT_EQ(expired, 1);
  EXPECT_EQ(timers.runPass(reload - 1), reload);
  EXPECT_EQ(expired, 1);
  timers.runPass(reload);
  EXPECT_EQ(expired, 2);
}

TEST(TimerScheduleTest, ReloadingARunningTimerMovesTheNextPass) {
  TimerService timers;
  timers.value1 = 15;
  timers.start1();
  const Span reloaded = around([&] { timers.setRunningValue1(0); });  // (0 + 1) / 16 s
  const std::uint64_t next = timers.runPass(reloaded.before);
  EXPECT_GE(next, reloaded.before + f / 16);
  EXPECT_LE(next, reloaded.after + f / 16);
}

}  // namespace
}  // namespace tavrel::timing
