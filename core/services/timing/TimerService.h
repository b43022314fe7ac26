// The timer service: the processor's two hardware timers, the real-time clock, periodic tick
// timers and the throttle, run by one timer task on std::chrono::steady_clock. The task
// sleeps until the earliest deadline (timer expiry, clock second, tick) and is woken early
// when a timer starts or is reloaded, so every rule keeps its exact counter arithmetic.
//
// This is the high-resolution variant, and the only one: steady_clock is monotonic on
// every platform we build for, so a millisecond tick-count fallback would never be chosen.
//
// Locking: every member takes the timer lock (lock()). Callers that also need the core lock
// take the core lock first. Handlers and tickPost run on the timer task with the timer lock
// held: they may post messages or set flags, never call back into the locked members from
// another thread that waits for them.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "MachineHost.h"
#include "TickTimer.h"
#include "tavrel/ThreadLock.h"
#include "tavrel/fn/Function.h"

namespace tavrel::timing {

using datetime = machine::datetime;
using TimerHandler = fn::Function<fn::ret<void>>;

class ThrottlePage;

class TimerService {
 public:
  using Clock = std::chrono::steady_clock;
  // f: counts per second of the counter.
  static constexpr std::uint64_t kFrequency = Clock::period::den / Clock::period::num;
  static constexpr std::uint64_t kTimer1Rate = 16;
  static constexpr std::uint64_t kTimer2Rate = 8192;
  static constexpr int kUnthrottled = 4;

  TimerService();
  ~TimerService();
  TimerService(const TimerService&) = delete;
  TimerService& operator=(const TimerService&) = delete;

  // --- The service's fields, in order; read and written under lock() only. ---
  TimerHandler handler1;  // timer 1 expired
  TimerHandler handler2;  // timer 2 expired
  TimerHandler tickPost;  // a tick timer fired
  std::uint32_t running1 = 0;
  std::uint32_t running2 = 0;
  std::uint32_t value1 = 15;  // kept while the timer is stopped
  std::uint32_t value2 = 0xFFFFFFFF;

  // --- Its members, in order. ---
  void setRunningValue1(std::uint32_t value);
  // Also re-anchors the clock: the timer-2 count belongs to the time stamps from now on.
  void setRunningValue2(std::uint32_t value);
  std::uint32_t readValue1();
  std::uint32_t readValue2();
  void start1();
  void start2();
  void stop1();
  void stop2();
  // Local time with the clock offset; count is the timer-2 count of the current second.
  void getClock(datetime* time);
  // Moves the clock offset so that the clock reads the given time now; count is not used.
  // A time that does not exist changes nothing.
  void setClock(const datetime* time);
  // A periodic tick timer of that many milliseconds; its 1-based id, or 0 for 0 ms.
  std::uint32_t startTick(std::uint32_t milliseconds);
  // 1 when the id named an active tick timer, which is now stopped; 0 otherwise.
  int stopTick(std::uint32_t id);
  // Called by the interpreter every 256 instructions: busy-waits for the next block start.
  void throttleHook();
  // Takes the throttle page off the preferences service, then ends the timer task; the
  // object stays usable as a passive clock. Safe to repeat.
  void close();
  // The clock offset in 100-ns units (signed, kept as its 64-bit pattern).
  void getClockOffset(std::uint64_t& offset);
  void setClockOffset(std::uint64_t offset);

  // --- Beyond the record. ---
  // Starts the timer task at the highest priority the system grants.
  void startTask();
  CThreadLock& lock() { return lock_; }
  // The counter: steady_clock's count.
  static std::uint64_t counter();
  // Settings 0..3 throttle to 650 × 2^s blocks of 256 instructions a second (setting 0 is
  // half speed); 4 and above run unthrottled.
  void applyThrottle(int setting);
  int throttleSetting() const { return throttleSetting_.load(); }
  // One pass of the timer task at counter value now. Returns the counter value at which
  // the next pass has something to do.
  std::uint64_t runPass(std::uint64_t now);
  // The page that close() takes off the preferences service again.
  void keepThrottlePage(std::unique_ptr<ThrottlePage> page);

 private:
  void runTask();
  // runPass with the timer lock held.
  std::uint64_t passLocked(std::uint64_t now);
  // Called under the timer lock after a deadline moved or a tick timer started: the task may
  // be asleep until a later deadline.
  void rescheduleTask();
  std::uint64_t nextDeadline() const;

  CThreadLock lock_;
  std::uint64_t deadline1_ = 0;
  std::uint64_t deadline2_ = 0;
  std::uint64_t period1_;
  std::uint64_t period2_;
  std::chrono::system_clock::time_point reference_;  // UTC
  std::int64_t clockOffset_ = 0;                     // 100-ns units
  std::uint64_t clockDeadline_;
  std::uint32_t snapshotCurrent_ = 0;
  std::uint32_t snapshotNext_ = 0;
  std::vector<TickTimer> tickTimers_;

  std::atomic<int> throttleSetting_{kUnthrottled};
  std::atomic<std::uint64_t> throttleRate_{0};  // blocks a second; 0 unthrottled
  std::uint64_t nextBlockStart_ = 0;            // the interpreter's thread only

  // The task sleeps on `wake_` until the next deadline, a reschedule or close.
  std::mutex taskMutex_;
  std::condition_variable wake_;
  bool closeRequested_ = false;
  bool rescheduled_ = false;
  std::thread task_;

  std::mutex pageMutex_;
  std::unique_ptr<ThrottlePage> throttlePage_;
};

}  // namespace tavrel::timing
