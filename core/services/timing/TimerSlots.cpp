#include "TimerSlots.h"

#include <mutex>
#include <utility>

#include "os/CoreLock.h"

namespace tavrel::timing {
namespace {

bool isTimer2(std::uint32_t timer) {
  return timer == kTimer2Selector;
}

// Core lock first, then the timer lock.
class BothLocks {
 public:
  explicit BothLocks(TimerService& timers) : core_(os::coreLock()), timer_(timers.lock()) {}

 private:
  CThreadLock::Scope core_;
  CThreadLock::Scope timer_;
};

}  // namespace

TimerHandler setTimerHandler(TimerService& timers, std::uint32_t timer, TimerHandler handler) {
  BothLocks locks(timers);
  TimerHandler& slot = isTimer2(timer) ? timers.handler2 : timers.handler1;
  return std::exchange(slot, std::move(handler));
}

void setTimerValue(TimerService& timers, std::uint32_t timer, std::uint32_t value) {
  BothLocks locks(timers);
  if (isTimer2(timer)) {
    if (timers.running2 != 0) {
      timers.setRunningValue2(value);
    } else {
      timers.value2 = value;
    }
  } else if (timers.running1 != 0) {
    timers.setRunningValue1(value);
  } else {
    timers.value1 = value;
  }
}

std::uint32_t getTimerValue(TimerService& timers, std::uint32_t timer) {
  BothLocks locks(timers);
  if (isTimer2(timer))
    return timers.running2 != 0 ? timers.readValue2() : timers.value2;
  return timers.running1 != 0 ? timers.readValue1() & 0xF : timers.value1;
}

void startTimer(TimerService& timers, std::uint32_t timer) {
  BothLocks locks(timers);
  if (isTimer2(timer)) {
    if (timers.running2 == 0)
      timers.start2();
  } else if (timers.running1 == 0) {
    timers.start1();
  }
}

void stopTimer(TimerService& timers, std::uint32_t timer) {
  BothLocks locks(timers);
  if (isTimer2(timer)) {
    if (timers.running2 != 0)
      timers.stop2();
  } else if (timers.running1 != 0) {
    timers.stop1();
  }
}

void getDateTime(TimerService& timers, datetime* time) {
  BothLocks locks(timers);
  timers.getClock(time);
}

int setDateTime(TimerService& timers, datetime* time) {
  BothLocks locks(timers);
  timers.setClock(time);
  return 0;
}

std::uint32_t startTickTimer(TimerService& timers, std::uint32_t milliseconds) {
  return timers.startTick(milliseconds);
}

int stopTickTimer(TimerService& timers, std::uint32_t id) {
  return timers.stopTick(id);
}

}  // namespace tavrel::timing
