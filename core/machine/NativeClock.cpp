// Native calls 11 and 12: the real-time clock as a tick count (8192 a second) that the ROM
// keeps in RAM with a nibble-wise check value.
#include <cstdint>
#include <optional>

#include "MachineHost.h"
#include "Memory.h"
#include "NativeSupport.h"
#include "Processor.h"
#include "Timers.h"

namespace tavrel::machine::native {
namespace {

constexpr uint32_t kStoredTicks = 0x80058;  // 13 nibbles
constexpr uint32_t kStoredCheck = 0x80065;  // 4 nibbles
constexpr int kTickNibbles = 13;
constexpr uint64_t kTickMask = (uint64_t{1} << (4 * kTickNibbles)) - 1;
constexpr uint64_t kTicksPerSecond = 8192;
constexpr uint64_t kTicksPerDay = 86400 * kTicksPerSecond;
constexpr int kLatestYear = 9999;

// Days of a date counted the ROM's way, January and February as months 13 and 14 of the year
// before.
int64_t daysFromDate(int64_t year, int64_t month, int64_t day) {
  if (month <= 2) {
    month += 12;
    year -= 1;
  }
  return 365 * year + year / 4 - year / 100 + year / 400 + 153 * (month + 1) / 5 + day - 63;
}

uint64_t ticksFromTime(const datetime& t) {
  const int64_t days = daysFromDate(t.year, t.month, t.day);
  const uint64_t seconds = uint64_t{t.hour} * 3600 + uint64_t{t.minute} * 60 + t.second;
  return static_cast<uint64_t>(days) * kTicksPerDay + seconds * kTicksPerSecond;
}

// The date and time of a tick count (sub-second ticks dropped), or nothing outside the years
// 1..9999.
std::optional<datetime> timeFromTicks(uint64_t ticks) {
  const uint64_t days = ticks / kTicksPerDay;
  if (days < static_cast<uint64_t>(daysFromDate(1, 1, 1)) ||
      days >= static_cast<uint64_t>(daysFromDate(kLatestYear + 1, 1, 1))) {
    return std::nullopt;
  }
  const int64_t day = static_cast<int64_t>(days);
  int64_t year = day / 366;  // never above the year, then count up
  while (daysFromDate(year + 1, 1, 1) <= day)
    ++year;
  int64_t month = 1;
  while (month < 12 && daysFromDate(year, month + 1, 1) <= day)
    ++month;
  const uint64_t seconds = (ticks % kTicksPerDay) / kTicksPerSecond;
  return datetime{static_cast<uint16_t>(year),
                  static_cast<uint8_t>(month),
                  static_cast<uint8_t>(day - daysFromDate(year, month, 1) + 1),
                  static_cast<uint8_t>(seconds / 3600),
                  static_cast<uint8_t>(seconds / 60 % 60),
                  static_cast<uint8_t>(seconds % 60),
                  0};
}

uint32_t checkValue(uint64_t ticks) {
  uint32_t h = 0;
  for (int i = 0; i < kTickNibbles; ++i) {
    const uint32_t n = static_cast<uint32_t>(ticks >> (4 * i)) & 0xF;
    h = ((h >> 4) ^ (((h ^ n) & 0xF) * 0x1081)) & 0xFFFF;
  }
  return h;
}

uint64_t readStoredTicks(const Machine& m) {
  return readNibbles(m, kStoredTicks, 8) |
         (uint64_t{readNibbles(m, kStoredTicks + 8, kTickNibbles - 8)} << 32);
}

void storeTicks(Machine& m, uint64_t ticks) {
  writeNibbles(m, kStoredTicks, static_cast<uint32_t>(ticks), 8);
  writeNibbles(m, kStoredTicks + 8, static_cast<uint32_t>(ticks >> 32), kTickNibbles - 8);
  writeNibbles(m, kStoredCheck, checkValue(ticks), 4);
}

// 11: the clock as a tick count; carry tells the ROM that its stored clock was not trusted.
uint32_t readClock(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  vm.decimal = 0;
  const uint64_t stored = readStoredTicks(m);
  bool untrusted;
  if (readNibbles(m, kStoredCheck, 4) != checkValue(stored)) {
    writeNibbles(m, kStoredCheck, checkValue(stored), 4);
    untrusted = true;
  } else {
    untrusted = (vm.timer2Control & kTimerRun) == 0;
  }
  const uint64_t timer2 =
      untrusted ? 0 : static_cast<uint64_t>(int64_t{static_cast<int32_t>(readTimer2(m))});

  datetime now = m.host->getClock();
  uint64_t ticks = ticksFromTime(now);
  if (ticks < ticksFromTime({1991, 1, 1, 0, 0, 0, 0}) ||
      ticks > ticksFromTime({2091, 1, 1, 0, 0, 0, 0})) {
    const datetime fallback{2003, 1, 1, 0, 0, 0, 0};
    m.host->setClock(fallback);
    now = fallback;
    ticks = ticksFromTime(fallback);
    untrusted = true;
  }
  ticks = (ticks + (now.count & (kTicksPerSecond - 1))) & kTickMask;
  storeTicks(m, ticks);

  put(vm.A, ticks);
  put(vm.C, ticks - timer2);
  put(vm.D, timer2);
  setP(m, 0);
  vm.carry = untrusted ? 1 : 0;
  return resume;
}

// 12: set the clock from the tick count in C; a count outside the years 1..9999 is ignored.
uint32_t setClock(Machine& m, uint32_t resume) {
  if (const std::optional<datetime> time = timeFromTicks(get(m.vm.C))) {
    m.host->setClock(*time);
  }
  return resume;
}

}  // namespace

void addClockCalls(NativeTable& table) {
  table[0x11] = &readClock;
  table[0x12] = &setClock;
}

}  // namespace tavrel::machine::native
