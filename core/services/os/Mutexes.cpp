#include "Mutexes.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "CoreLock.h"

namespace tavrel::os {
namespace {

// Lives as long as its thread; mutexes watch it to notice an abandoned lock.
const std::shared_ptr<const char>& threadAliveToken() {
  thread_local const std::shared_ptr<const char> token = std::make_shared<const char>('\0');
  return token;
}

// A holder that ends without unlocking cannot notify, so waiters look again this often.
constexpr std::chrono::milliseconds kAbandonCheck{50};

}  // namespace

tag_MutexInfo* createMutex() {
  return new tag_MutexInfo;
}

int destroyMutex(tag_MutexInfo* mutex) {
  delete mutex;
  return 0;
}

int lockMutex(tag_MutexInfo* mutex, std::uint32_t noWait, std::uint32_t timeout) {
  if (mutex == nullptr)
    return -1;
  using Clock = std::chrono::steady_clock;
  std::optional<Clock::time_point> deadline;
  if (noWait != 0) {
    deadline = Clock::now();
  } else if (timeout != 0) {
    deadline = Clock::now() + std::chrono::milliseconds(timeout);
  }
  const std::thread::id self = std::this_thread::get_id();
  {
    std::unique_lock guard(mutex->guard);
    for (;;) {
      if (mutex->depth > 0 && mutex->holderAlive.expired())
        mutex->depth = 0;  // abandoned: taken over as a normal acquisition
      if (mutex->depth == 0 || mutex->holder == self)
        break;
      auto slice = kAbandonCheck;
      if (deadline) {
        const auto left = *deadline - Clock::now();
        if (left <= Clock::duration::zero())
          return -1;
        slice = std::min(slice, std::chrono::ceil<std::chrono::milliseconds>(left));
      }
      mutex->freed.wait_for(guard, slice);
    }
    mutex->holder = self;
    mutex->holderAlive = threadAliveToken();
    ++mutex->depth;
  }
  CThreadLock::Scope scope(coreLock());
  mutex->owner = currentTask();
  return 0;
}

int unlockMutex(tag_MutexInfo* mutex) {
  if (mutex == nullptr)
    return -1;
  bool released = false;
  {
    CThreadLock::Scope scope(coreLock());
    std::lock_guard guard(mutex->guard);
    if (mutex->depth == 0 || mutex->holder != std::this_thread::get_id())
      return -1;
    if (--mutex->depth == 0) {
      mutex->holder = {};
      mutex->holderAlive.reset();
      mutex->owner = nullptr;
      released = true;
    }
  }
  if (released)
    mutex->freed.notify_all();
  return 0;
}

std::intptr_t mutexOwner(tag_MutexInfo* mutex) {
  if (mutex == nullptr)
    return -1;
  CThreadLock::Scope scope(coreLock());
  return reinterpret_cast<std::intptr_t>(mutex->owner);
}

}  // namespace tavrel::os
