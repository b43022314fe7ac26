// A manual-reset event: set once to tell a thread to stop, waited on in bounded slices.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tavrel::statexport::link {

class StopEvent {
 public:
  void set() {
    {
      std::lock_guard<std::mutex> guard(lock_);
      set_ = true;
    }
    changed_.notify_all();
  }
  void reset() {
    std::lock_guard<std::mutex> guard(lock_);
    set_ = false;
  }
  bool isSet() const {
    std::lock_guard<std::mutex> guard(lock_);
    return set_;
  }
  // True when the event is set, at once or within timeout.
  bool waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, timeout, [this] { return set_; });
  }

 private:
  mutable std::mutex lock_;
  std::condition_variable changed_;
  bool set_ = false;
};

}  // namespace tavrel::statexport::link
