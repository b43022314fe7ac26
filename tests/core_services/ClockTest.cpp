// The real-time clock: calendar arithmetic, local time, the offset and its round trip.
#include <gtest/gtest.h>

#include <ctime>

#include "timing/CivilTime.h"
#include "timing/TimerService.h"
#include "timing/TimerSlots.h"

namespace tavrel::timing {
namespace {

std::int64_t unitsOf(const datetime& time) {
  return unitsOfCivil({time.year, time.month, time.day, time.hour, time.minute, time.second})
      .value();
}

TEST(ClockTest, CivilTimesRoundTripThroughUnits) {
  EXPECT_EQ(unitsOfCivil({1601, 1, 1, 0, 0, 0}), 0);
  EXPECT_EQ(unitsOfCivil({1601, 1, 2, 0, 0, 1}), (86400 + 1) * kUnitsPerSecond);
  for (const CivilTime time : {CivilTime{2000, 2, 29, 23, 59, 59}, CivilTime{1991, 1, 1, 0, 0, 0},
                               CivilTime{2091, 12, 31, 12, 30, 15}}) {
    const CivilTime back = civilOfUnits(unitsOfCivil(time).value() + kUnitsPerSecond / 2);
    EXPECT_EQ(back.year, time.year);
    EXPECT_EQ(back.month, time.month);
    EXPECT_EQ(back.day, time.day);
    EXPECT_EQ(back.hour, time.hour);
    EXPECT_EQ(back.minute, time.minute);
    EXPECT_EQ(back.second, time.second);
  }
  const CivilTime beforeEpoch = civilOfUnits(-1);
  EXPECT_EQ(beforeEpoch.year, 1600);
  EXPECT_EQ(beforeEpoch.second, 59u);
}

TEST(ClockTest, ImpossibleTimesAreRefused) {
  EXPECT_FALSE(unitsOfCivil({2001, 2, 29, 0, 0, 0}));
  EXPECT_FALSE(unitsOfCivil({2001, 13, 1, 0, 0, 0}));
  EXPECT_FALSE(unitsOfCivil({2001, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(unitsOfCivil({2001, 1, 1, 24, 0, 0}));
  EXPECT_FALSE(unitsOfCivil({2001, 1, 1, 0, 60, 0}));
}

TEST(ClockTest, WithoutOffsetTheClockShowsLocalTime) {
  TimerService timers;
  const std::time_t before = std::time(nullptr);
  datetime now{};
  getDateTime(timers, &now);
  std::tm local{};
  localtime_r(&before, &local);
  const std::int64_t expected =
      unitsOfCivil({local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                    static_cast<unsigned>(local.tm_mday), static_cast<unsigned>(local.tm_hour),
                    static_cast<unsigned>(local.tm_min), static_cast<unsigned>(local.tm_sec)})
          .value();
  EXPECT_LE(std::abs(unitsOf(now) - expected), 2 * kUnitsPerSecond);
}

TEST(ClockTest, SetClockMovesTheOffsetSoTheClockReadsTheTimeGiven) {
  TimerService timers;
  datetime wanted{2031, 7, 14, 9, 26, 53, 0};
  EXPECT_EQ(setDateTime(timers, &wanted), 0);
  datetime now{};
  getDateTime(timers, &now);
  // The reference time has not moved (no timer task), so the clock reads exactly that.
  EXPECT_EQ(unitsOf(now), unitsOf(wanted));

  // The offset is what a state file keeps: put back into a fresh service, it gives the
  // same clock within the seconds that passed.
  std::uint64_t offset = 0;
  timers.getClockOffset(offset);
  EXPECT_NE(offset, 0u);
  TimerService restored;
  restored.setClockOffset(offset);
  datetime again{};
  restored.getClock(&again);
  EXPECT_LE(std::abs(unitsOf(again) - unitsOf(wanted)), 2 * kUnitsPerSecond);
}

TEST(ClockTest, AnImpossibleTimeChangesNothing) {
  TimerService timers;
  datetime bad{2030, 2, 30, 0, 0, 0, 0};
  EXPECT_EQ(setDateTime(timers, &bad), 0);
  std::uint64_t offset = 1;
  timers.getClockOffset(offset);
  EXPECT_EQ(offset, 0u);
}

TEST(ClockTest, EarlierTimesGiveANegativeOffset) {
  TimerService timers;
  datetime past{1995, 3, 1, 0, 0, 0, 0};
  timers.setClock(&past);
  std::uint64_t offset = 0;
  timers.getClockOffset(offset);
  EXPECT_LT(static_cast<std::int64_t>(offset), 0);
  datetime now{};
  timers.getClock(&now);
  EXPECT_EQ(now, past);
}

}  // namespace
}  // namespace tavrel::timing
