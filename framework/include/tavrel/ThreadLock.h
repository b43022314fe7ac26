#pragma once

#include <mutex>

namespace tavrel {

// An in-process lock that its owner may take again (like a critical section). Meets the
// standard Lockable requirements, so std::lock_guard and std::unique_lock work with it.
class CThreadLock {
 public:
  CThreadLock() = default;
  CThreadLock(const CThreadLock&) = delete;
  CThreadLock& operator=(const CThreadLock&) = delete;

  void lock() { mutex_.lock(); }
  void unlock() { mutex_.unlock(); }
  bool try_lock() { return mutex_.try_lock(); }

  // Holds the lock for a scope.
  class Scope {
   public:
    explicit Scope(CThreadLock& lock) : lock_(lock) { lock_.lock(); }
    ~Scope() { lock_.unlock(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    CThreadLock& lock_;
  };

 private:
  std::recursive_mutex mutex_;
};

}  // namespace tavrel
