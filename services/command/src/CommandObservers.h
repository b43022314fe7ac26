#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tavrel/command/ICommandObserver.h"

namespace tavrel {

// The observers of executed lines. No lock is held while an observer runs, so it may run
// command lines itself; removal waits for calls in progress on other threads instead.
class CCommandObservers {
 public:
  void add(ICommandObserver* observer);
  void remove(ICommandObserver* observer);
  void lineExecuted(const std::u16string& name, const std::u16string& line);

 private:
  bool isAdded(ICommandObserver* observer) const {
    return std::find(observers_.begin(), observers_.end(), observer) != observers_.end();
  }
  // Whether a thread other than the current one is telling observers about a line.
  bool othersNotifying() const;

  std::atomic<bool> any_{false};  // spares every line the lock while nobody watches
  std::mutex mutex_;
  std::condition_variable notified_;
  std::vector<ICommandObserver*> observers_;
  std::vector<std::thread::id> notifying_;  // one entry per notification in progress
};

}  // namespace tavrel
