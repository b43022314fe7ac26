// The real-time clock calls: tick counts of calendar dates, the stored clock's check value,
// timer 2's share, the fallback date and setting the clock.
#include <chrono>

#include "Timers.h"
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

using namespace std::chrono;

constexpr uint32_t kResume = 0x20000;
constexpr uint64_t kTicksPerSecond = 8192;
// Days from the ROM's day zero to 1 January 1970.
constexpr int64_t kUnixEpochDays = 719528;

uint64_t ticksOf(year_month_day date, int hour = 0, int minute = 0, int second = 0) {
  const int64_t days = sys_days{date}.time_since_epoch().count() + kUnixEpochDays;
  return (static_cast<uint64_t>(days) * 86400 + hour * 3600 + minute * 60 + second) *
         kTicksPerSecond;
}

int64_t unixSeconds(year_month_day date, int hour = 0, int minute = 0, int second = 0) {
  return sys_days{date}.time_since_epoch().count() * 86400 + hour * 3600 + minute * 60 + second;
}

uint32_t crcOf(uint64_t ticks) {
  uint32_t h = 0;
  for (int i = 0; i < 13; ++i) {
    const uint32_t nibble = (ticks >> (4 * i)) & 0xF;
    h = ((h >> 4) ^ (((h ^ nibble) & 0xF) * 0x1081)) & 0xFFFF;
  }
  return h;
}

class NativeClockTest : public PeripheralTest {
 protected:
  uint64_t storedTicks() const { return peek(0x80058, 8) | (uint64_t{peek(0x80060, 5)} << 32); }
  void storeTicks(uint64_t ticks, uint32_t check) {
    poke(0x80058, static_cast<uint32_t>(ticks), 8);
    poke(0x80060, static_cast<uint32_t>(ticks >> 32), 5);
    poke(0x80065, check, 4);
  }
  uint64_t readClockCall() {
    EXPECT_EQ(callNative(m, 0x11, kResume), kResume);
    return value64(m.vm.A);
  }
};

TEST_F(NativeClockTest, ReadGivesHostTimeAsTicksAndStoresItWithItsCheckValue) {
  host.clockSeconds = unixSeconds(2024y / February / 29, 23, 59, 59);
  host.advanceTime(m, 100);
  m.vm.decimal = 1;
  setP(m, 4);
  const uint64_t expected = ticksOf(2024y / February / 29, 23, 59, 59) + 100;
  EXPECT_EQ(readClockCall(), expected);
  EXPECT_EQ(value64(m.vm.C), expected);
  EXPECT_EQ(value64(m.vm.D), 0u);
  EXPECT_EQ(m.vm.carry, 1u);  // the timers do not run: not trusted
  EXPECT_EQ(m.vm.decimal, 0u);
  EXPECT_EQ(m.vm.P, 0u);
  EXPECT_EQ(storedTicks(), expected);
  EXPECT_EQ(peek(0x80065, 4), crcOf(expected));
}

TEST_F(NativeClockTest, TrustedStoredClockTakesTimer2IntoAccount) {
  host.clockSeconds = unixSeconds(2010y / May / 5, 10, 0, 0);
  readClockCall();             // leaves a valid stored clock
  writeTimer2(m, 0xFFFFFF00);  // -256
  writeTimer2ControlRegister(m, kTimerRun);
  const uint64_t ticks = readClockCall();
  EXPECT_EQ(ticks, ticksOf(2010y / May / 5, 10));
  EXPECT_EQ(m.vm.carry, 0u);
  EXPECT_EQ(value64(m.vm.D), 0xFFFFFFFFFFFFFF00u);
  EXPECT_EQ(value64(m.vm.C), ticks + 256);
}

TEST_F(NativeClockTest, DamagedCheckValueIsReported) {
  host.clockSeconds = unixSeconds(2010y / May / 5);
  writeTimer2ControlRegister(m, kTimerRun);
  storeTicks(0x123456789ABCD, crcOf(0x123456789ABCD) ^ 1);
  readClockCall();
  EXPECT_EQ(m.vm.carry, 1u);
  EXPECT_EQ(value64(m.vm.D), 0u);
  EXPECT_EQ(peek(0x80065, 4), crcOf(storedTicks()));
}

TEST_F(NativeClockTest, ClockOutsideTheRangeFallsBackToTheFirstOf2003) {
  for (int64_t seconds : {unixSeconds(1990y / December / 31, 23, 59, 59),
                          unixSeconds(2091y / January / 1, 0, 0, 1)}) {
    host.clockSeconds = seconds;
    EXPECT_EQ(readClockCall(), ticksOf(2003y / January / 1));
    EXPECT_EQ(m.vm.carry, 1u);
    const datetime now = host.getClock();
    EXPECT_EQ(now.year, 2003);
    EXPECT_EQ(now.month, 1);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.hour, 0);
  }
}

TEST_F(NativeClockTest, EdgesOfTheRangeAreAccepted) {
  host.clockSeconds = unixSeconds(1991y / January / 1);
  EXPECT_EQ(readClockCall(), ticksOf(1991y / January / 1));
  host.clockSeconds = unixSeconds(2091y / January / 1);
  EXPECT_EQ(readClockCall(), ticksOf(2091y / January / 1));
}

TEST_F(NativeClockTest, SetThenReadAcrossMonthYearAndLeapBoundaries) {
  struct Case {
    year_month_day before;
    year_month_day after;
  };
  const Case cases[] = {
      {2024y / February / 28, 2024y / February / 29}, {2024y / February / 29, 2024y / March / 1},
      {2023y / February / 28, 2023y / March / 1},     {2023y / December / 31, 2024y / January / 1},
      {2000y / February / 28, 2000y / February / 29}, {1999y / April / 30, 1999y / May / 1},
  };
  for (const Case& c : cases) {
    m.vm.C = reg(ticksOf(c.before, 23, 59, 59) + 1234);  // sub-second ticks are dropped
    callNative(m, 0x12, kResume);
    const uint64_t subSecond = host.now % kTicksPerSecond;
    host.advanceTime(m, kTicksPerSecond - subSecond);  // the next whole second
    EXPECT_EQ(readClockCall(), ticksOf(c.after)) << static_cast<int>(c.before.year());
  }
}

TEST_F(NativeClockTest, SetClockWithYearsBeyond9999ChangesNothing) {
  host.clockSeconds = unixSeconds(2010y / May / 5);
  const datetime before = host.getClock();
  m.vm.C = reg(ticksOf(9999y / December / 31, 23, 59, 59) + 2 * kTicksPerSecond);
  callNative(m, 0x12, kResume);
  EXPECT_EQ(host.getClock(), before);
  m.vm.C = reg(ticksOf(9999y / December / 31, 23, 59, 59));
  callNative(m, 0x12, kResume);
  EXPECT_EQ(host.getClock().year, 9999);
}

}  // namespace
}  // namespace tavrel::machine
