// The default host's peripherals: timers and the real-time clock on a manual tick counter,
// helper tasks run inline, and no remote link or data logger.
#include <algorithm>
#include <chrono>

#include "DefaultMachineHost.h"
#include "Display.h"
#include "Machine.h"
#include "Timers.h"

namespace tavrel::machine {
namespace {

constexpr uint64_t kTicksPerCount[2] = {512, 1};  // 16 Hz and 8192 Hz
constexpr uint64_t kReloadTicks[2] = {15 * 512, 0xFFFFFFFF};

int index(HardwareTimer timer) {
  return timer == HardwareTimer::kTimer1 ? 0 : 1;
}

// A running timer shows the counts left, rounded up: it reads 0 only once its deadline came.
uint32_t countsLeft(const DefaultMachineHost::ManualTimer& timer, int i, uint64_t now) {
  const uint64_t left = timer.deadline > now ? timer.deadline - now : 0;
  return static_cast<uint32_t>((left + kTicksPerCount[i] - 1) / kTicksPerCount[i]);
}

}  // namespace

uint32_t DefaultMachineHost::getTimerValue(HardwareTimer timer) {
  const int i = index(timer);
  if (!timers[i].running)
    return timers[i].value;
  const uint32_t value = countsLeft(timers[i], i, now);
  return i == 0 ? value & 0xF : value;
}

void DefaultMachineHost::setTimerValue(HardwareTimer timer, uint32_t value) {
  const int i = index(timer);
  if (timers[i].running) {
    timers[i].deadline = now + value * kTicksPerCount[i];
  } else {
    timers[i].value = value;
  }
}

void DefaultMachineHost::startTimer(HardwareTimer timer) {
  const int i = index(timer);
  if (timers[i].running)
    return;
  timers[i].deadline = now + timers[i].value * kTicksPerCount[i];
  timers[i].running = true;
}

void DefaultMachineHost::stopTimer(HardwareTimer timer) {
  const int i = index(timer);
  if (!timers[i].running)
    return;
  timers[i].value = countsLeft(timers[i], i, now);
  timers[i].running = false;
}

void DefaultMachineHost::advanceTime(Machine& m, uint64_t ticks) {
  const uint64_t target = now + ticks;
  for (;;) {
    int next = -1;
    for (int i = 0; i < 2; ++i) {
      if (timers[i].running && timers[i].deadline <= target &&
          (next < 0 || timers[i].deadline < timers[next].deadline)) {
        next = i;
      }
    }
    if (next < 0)
      break;
    now = std::max(now, timers[next].deadline);
    timers[next].deadline += kReloadTicks[next];
    if (next == 0) {
      timer1Expired(m);
    } else {
      timer2Expired(m);
    }
  }
  now = target;
}

datetime DefaultMachineHost::getClock() {
  using namespace std::chrono;
  const int64_t seconds = clockSeconds + static_cast<int64_t>(now / kTicksPerSecond);
  const sys_seconds time{std::chrono::seconds{seconds}};
  const auto day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{time - day};
  return {static_cast<uint16_t>(static_cast<int>(date.year())),
          static_cast<uint8_t>(static_cast<unsigned>(date.month())),
          static_cast<uint8_t>(static_cast<unsigned>(date.day())),
          static_cast<uint8_t>(clock.hours().count()),
          static_cast<uint8_t>(clock.minutes().count()),
          static_cast<uint8_t>(clock.seconds().count()),
          static_cast<uint32_t>(now % kTicksPerSecond)};
}

void DefaultMachineHost::setClock(const datetime& time) {
  using namespace std::chrono;
  const sys_days day{year{time.year} / month{time.month} / std::chrono::day{time.day}};
  const sys_seconds wanted = day + hours{time.hour} + minutes{time.minute} + seconds{time.second};
  clockSeconds = wanted.time_since_epoch().count() - static_cast<int64_t>(now / kTicksPerSecond);
}

void DefaultMachineHost::startShortTask(const char* name, std::function<void()> body) {
  tasksStarted.emplace_back(name);
  body();
}

void DefaultMachineHost::openRemoteLink(Machine& m) {
  m.vm.carry = 1;
}

void DefaultMachineHost::closeRemoteLink(Machine& m) {
  if (m.vm.annunciators & kSerialAnnunciator) {
    setAnnunciators(m, static_cast<uint8_t>(m.vm.annunciators & ~kSerialAnnunciator));
  }
}

void DefaultMachineHost::sendDirectByte(Machine& m) {
  m.vm.carry = 1;
}

void DefaultMachineHost::datavaneService(Machine& m) {
  m.vm.carry = 1;
}

}  // namespace tavrel::machine
