#include "Event.h"

namespace tavrel::os {

void Event::set() {
  std::lock_guard guard(mutex_);
  set_ = true;
  // Under the lock: a waiter that sees the flag may destroy the event at once. An auto-reset
  // event releases one waiter; waking all is harmless, the first to see the flag clears it.
  changed_.notify_all();
}

void Event::reset() {
  std::lock_guard guard(mutex_);
  set_ = false;
}

bool Event::isSet() const {
  std::lock_guard guard(mutex_);
  return set_;
}

bool Event::wait(std::optional<std::chrono::milliseconds> limit) {
  std::unique_lock guard(mutex_);
  const auto isSet = [this] { return set_; };
  if (!limit) {
    changed_.wait(guard, isSet);
  } else if (!changed_.wait_for(guard, *limit, isSet)) {
    return false;
  }
  if (!manualReset_)
    set_ = false;
  return true;
}

}  // namespace tavrel::os
