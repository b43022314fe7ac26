#pragma once

#include <atomic>
#include <mutex>

#include "tavrel/ExitCallbacks.h"

namespace tavrel {

// One lazily created T per module: made on first use, destroyed at exit in the reverse order
// of creation. A constructor that uses another singleton finishes after it, and so is
// destroyed before it. A T must not use its own instance() while it is being constructed.
template <class T>
class TSingleton {
 public:
  static T& instance() {
    if (T* existing = slot().load(std::memory_order_acquire)) {
      return *existing;
    }
    std::lock_guard lock(creationMutex());
    if (T* existing = slot().load(std::memory_order_relaxed)) {
      return *existing;
    }
    T* created = new T();
    slot().store(created, std::memory_order_release);
    registerExitCallback(&TSingleton::destroy, nullptr);
    return *created;
  }

  static bool exists() { return slot().load(std::memory_order_acquire) != nullptr; }

 private:
  static void destroy(void*) { delete slot().exchange(nullptr, std::memory_order_acq_rel); }

  static std::atomic<T*>& slot() {
    static std::atomic<T*> object{nullptr};
    return object;
  }
  static std::mutex& creationMutex() {
    static std::mutex mutex;
    return mutex;
  }
};

}  // namespace tavrel
