// The hardware timers, the tick timers and the timer task.
#include "TimerService.h"

#include <algorithm>

#include "ThrottlePage.h"
#include "os/Tasks.h"

namespace tavrel::timing {
namespace {

constexpr std::uint64_t f = TimerService::kFrequency;

// Counts left until a deadline at the given rate; a passed deadline gives a small negative
// count, which truncates to the 32-bit value a counter that went on counting would show.
std::uint32_t countsUntil(std::uint64_t deadline, std::uint64_t now, std::uint64_t rate) {
  const auto left = static_cast<std::int64_t>(deadline - now);
  return static_cast<std::uint32_t>(left * static_cast<std::int64_t>(rate) /
                                    static_cast<std::int64_t>(f));
}

}  // namespace

TimerService::TimerService()
    : period1_(f * 15 / kTimer1Rate),
      period2_(f * 0xFFFFFFFFull / kTimer2Rate),
      reference_(std::chrono::system_clock::now()),
      clockDeadline_(counter() + f) {}

TimerService::~TimerService() {
  close();
}

std::uint64_t TimerService::counter() {
  return static_cast<std::uint64_t>(Clock::now().time_since_epoch().count());
}

void TimerService::setRunningValue1(std::uint32_t value) {
  CThreadLock::Scope scope(lock_);
  deadline1_ = counter() + ((std::uint64_t{value} + 1) * f) / kTimer1Rate;
  rescheduleTask();
}

void TimerService::setRunningValue2(std::uint32_t value) {
  CThreadLock::Scope scope(lock_);
  const std::uint64_t now = counter();
  deadline2_ = now + ((std::uint64_t{value} + 1) * f) / kTimer2Rate;
  reference_ = std::chrono::system_clock::now();
  snapshotNext_ = value;
  clockDeadline_ = now + f;
  snapshotCurrent_ = value + static_cast<std::uint32_t>(kTimer2Rate);
  rescheduleTask();
}

std::uint32_t TimerService::readValue1() {
  CThreadLock::Scope scope(lock_);
  return countsUntil(deadline1_, counter(), kTimer1Rate);
}

std::uint32_t TimerService::readValue2() {
  CThreadLock::Scope scope(lock_);
  return countsUntil(deadline2_, counter(), kTimer2Rate);
}

void TimerService::start1() {
  CThreadLock::Scope scope(lock_);
  deadline1_ = counter() + (std::uint64_t{value1} * f) / kTimer1Rate;
  running1 = 1;
  rescheduleTask();
}

void TimerService::start2() {
  CThreadLock::Scope scope(lock_);
  deadline2_ = counter() + (std::uint64_t{value2} * f) / kTimer2Rate;
  running2 = 1;
  rescheduleTask();
}

void TimerService::stop1() {
  CThreadLock::Scope scope(lock_);
  running1 = 0;
  value1 = countsUntil(deadline1_, counter(), kTimer1Rate);
}

void TimerService::stop2() {
  CThreadLock::Scope scope(lock_);
  running2 = 0;
  value2 = countsUntil(deadline2_, counter(), kTimer2Rate);
}

std::uint32_t TimerService::startTick(std::uint32_t milliseconds) {
  if (milliseconds == 0)
    return 0;  // a period of 0 would fire on every pass and never move on
  CThreadLock::Scope scope(lock_);
  const std::uint64_t period = std::uint64_t{milliseconds} * f / 1000;
  const TickTimer timer{true, period, counter() + period};
  rescheduleTask();
  for (std::size_t i = 0; i < tickTimers_.size(); ++i) {
    if (!tickTimers_[i].active) {
      tickTimers_[i] = timer;
      return static_cast<std::uint32_t>(i + 1);
    }
  }
  tickTimers_.push_back(timer);
  return static_cast<std::uint32_t>(tickTimers_.size());
}

int TimerService::stopTick(std::uint32_t id) {
  CThreadLock::Scope scope(lock_);
  if (id < 1 || id > tickTimers_.size() || !tickTimers_[id - 1].active)
    return 0;
  tickTimers_[id - 1].active = false;
  return 1;
}

std::uint64_t TimerService::runPass(std::uint64_t now) {
  CThreadLock::Scope scope(lock_);
  return passLocked(now);
}

std::uint64_t TimerService::passLocked(std::uint64_t now) {
  if (running1 != 0 && now >= deadline1_) {
    if (handler1)
      handler1();
    deadline1_ += period1_;
  }
  if (running2 != 0 && now >= deadline2_) {
    if (handler2)
      handler2();
    deadline2_ += period2_;
  }
  if (now >= clockDeadline_) {
    reference_ = std::chrono::system_clock::now();
    snapshotCurrent_ = snapshotNext_;
    snapshotNext_ = countsUntil(deadline2_, clockDeadline_, kTimer2Rate) +
                    countsUntil(clockDeadline_, now, kTimer2Rate);
    clockDeadline_ += f;
  }
  for (TickTimer& timer : tickTimers_) {
    if (fireTickTimer(timer, now) && tickPost)
      tickPost();
  }
  return nextDeadline();
}

std::uint64_t TimerService::nextDeadline() const {
  std::uint64_t next = clockDeadline_;
  if (running1 != 0)
    next = std::min(next, deadline1_);
  if (running2 != 0)
    next = std::min(next, deadline2_);
  for (const TickTimer& timer : tickTimers_) {
    if (timer.active)
      next = std::min(next, timer.next);
  }
  return next;
}

void TimerService::rescheduleTask() {
  {
    std::lock_guard guard(taskMutex_);
    rescheduled_ = true;
  }
  wake_.notify_all();
}

void TimerService::startTask() {
  std::lock_guard guard(taskMutex_);
  if (task_.joinable())
    return;
  closeRequested_ = false;
  task_ = std::thread([this] { runTask(); });
}

void TimerService::runTask() {
  os::applyPriorityToThisThread(os::kTimeCriticalPriority);
  {
    CThreadLock::Scope scope(lock_);
    clockDeadline_ = counter() + f;
  }
  std::unique_lock guard(taskMutex_);
  while (!closeRequested_) {
    // A change after this point either shows in the pass or sets the flag again.
    rescheduled_ = false;
    guard.unlock();
    std::uint64_t next;
    {
      // The counter is read once the lock is held: a pass held off by a busy host sees the
      // time it really runs at, so a late tick timer moves to the boundary after that.
      CThreadLock::Scope scope(lock_);
      next = passLocked(counter());
    }
    guard.lock();
    // Sleeps until the next deadline rather than looking every millisecond: an idle
    // calculator then costs a few wake-ups a second.
    const Clock::time_point wakeAt{Clock::duration(static_cast<Clock::rep>(next))};
    wake_.wait_until(guard, wakeAt, [this] { return closeRequested_ || rescheduled_; });
  }
}

void TimerService::keepThrottlePage(std::unique_ptr<ThrottlePage> page) {
  std::lock_guard guard(pageMutex_);
  throttlePage_ = std::move(page);
}

void TimerService::close() {
  std::unique_ptr<ThrottlePage> page;
  {
    std::lock_guard guard(pageMutex_);
    page = std::move(throttlePage_);
  }
  if (page)
    page->remove();
  std::thread task;
  {
    std::lock_guard guard(taskMutex_);
    closeRequested_ = true;
    // On the timer task itself only the request is possible; a later close joins it.
    if (task_.get_id() != std::this_thread::get_id())
      task = std::move(task_);
  }
  wake_.notify_all();
  if (task.joinable())
    task.join();
}

}  // namespace tavrel::timing
