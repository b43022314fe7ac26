// Tick timers: dropping missed periods, ids, bounds of stopTick.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "TaskTestSupport.h"
#include "timing/TimerFactory.h"

namespace tavrel::timing {
namespace {

using Clock = std::chrono::steady_clock;

TEST(TickTimerTest, ALateTimerFiresOnceAndMovesToTheNextBoundary) {
  TickTimer timer{true, 15, 100};
  EXPECT_FALSE(fireTickTimer(timer, 99));
  EXPECT_TRUE(fireTickTimer(timer, 160));  // four periods late
  EXPECT_EQ(timer.next, 175u);
  EXPECT_FALSE(fireTickTimer(timer, 174));
  EXPECT_TRUE(fireTickTimer(timer, 175));
  EXPECT_EQ(timer.next, 190u);
  timer.active = false;
  EXPECT_FALSE(fireTickTimer(timer, 1000));
}

TEST(TickTimerTest, IdsCountFromOneAndFreedEntriesAreReused) {
  TimerService timers;
  EXPECT_EQ(timers.startTick(15), 1u);
  EXPECT_EQ(timers.startTick(20), 2u);
  EXPECT_EQ(timers.startTick(0), 0u);
  EXPECT_EQ(timers.stopTick(1), 1);
  EXPECT_EQ(timers.startTick(30), 1u);
  EXPECT_EQ(timers.startTick(30), 3u);
}

TEST(TickTimerTest, StopTickRefusesIdsOutsideTheTableOrInactive) {
  TimerService timers;
  const std::uint32_t id = timers.startTick(15);
  EXPECT_EQ(timers.stopTick(0), 0);
  EXPECT_EQ(timers.stopTick(id + 1), 0);
  EXPECT_EQ(timers.stopTick(0xFFFFFFFF), 0);
  EXPECT_EQ(timers.stopTick(id), 1);
  EXPECT_EQ(timers.stopTick(id), 0);
}

// The timer task is held off by keeping the timer lock, as a busy host would hold it off.
TEST(TickTimerTest, ABusyHostGetsOneFiringNotOnePerMissedPeriod) {
  constexpr auto kPeriod = std::chrono::milliseconds(15);
  std::mutex mutex;
  std::vector<Clock::time_point> firings;
  os::Event fired(false);
  auto timers = std::make_unique<TimerService>();
  timers->tickPost = [&] {
    {
      std::lock_guard guard(mutex);
      firings.push_back(Clock::now());
    }
    fired.set();
  };
  startTimerService(timers.get());
  ASSERT_EQ(timers->startTick(kPeriod.count()), 1u);
  ASSERT_TRUE(fired.wait(os::test::kGenerous));

  Clock::time_point released;
  std::size_t before;
  {
    CThreadLock::Scope busy(timers->lock());
    const auto start = Clock::now();
    while (Clock::now() - start < 5 * kPeriod) {
      // Hold the lock through four missed periods.
    }
    std::lock_guard guard(mutex);
    before = firings.size();
    released = Clock::now();
  }
  // Three more firings: the late one, then two on the period grid.
  for (std::size_t want = before + 3;;) {
    ASSERT_TRUE(fired.wait(os::test::kGenerous));
    std::lock_guard guard(mutex);
    if (firings.size() >= want)
      break;
  }
  timers->close();
  std::lock_guard guard(mutex);
  // Catching up on the missed periods would have fired them one pass (1 ms) apart; with
  // them dropped, the third firing after the release is at least a period later.
  EXPECT_GE(firings[before + 2] - released, kPeriod);
}

}  // namespace
}  // namespace tavrel::timing
