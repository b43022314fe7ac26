#include "CommandObservers.h"

namespace tavrel {

void CCommandObservers::add(ICommandObserver* observer) {
  std::lock_guard lock(mutex_);
  if (observer != nullptr && !isAdded(observer)) {
    observers_.push_back(observer);
    any_ = true;
  }
}

void CCommandObservers::remove(ICommandObserver* observer) {
  std::unique_lock lock(mutex_);
  std::erase(observers_, observer);
  any_ = !observers_.empty();
  notified_.wait(lock, [this] { return !othersNotifying(); });
}

bool CCommandObservers::othersNotifying() const {
  const std::thread::id self = std::this_thread::get_id();
  return std::any_of(notifying_.begin(), notifying_.end(),
                     [self](std::thread::id thread) { return thread != self; });
}

void CCommandObservers::lineExecuted(const std::u16string& name, const std::u16string& line) {
  if (!any_) {
    return;
  }
  std::vector<ICommandObserver*> observers;
  {
    std::lock_guard lock(mutex_);
    observers = observers_;
    notifying_.push_back(std::this_thread::get_id());
  }
  // Also when an observer throws, a waiting remove() has to learn that this call is over.
  struct Finish {
    CCommandObservers& self;
    ~Finish() {
      {
        std::lock_guard lock(self.mutex_);
        self.notifying_.erase(
            std::find(self.notifying_.begin(), self.notifying_.end(), std::this_thread::get_id()));
      }
      self.notified_.notify_all();
    }
  } finish{*this};
  for (ICommandObserver* observer : observers) {
    {
      // One removed by an earlier observer of this same line is skipped.
      std::lock_guard lock(mutex_);
      if (!isAdded(observer)) {
        continue;
      }
    }
    observer->lineExecuted(name, line);
  }
}

}  // namespace tavrel
