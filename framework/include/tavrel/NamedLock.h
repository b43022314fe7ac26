#pragma once

#include <chrono>
#include <mutex>
#include <string>

#include "tavrel/Export.h"

namespace tavrel {

// A lock known by name to every module of the process. Its owner may take it again.
class TAVREL_API CNamedLock {
 public:
  explicit CNamedLock(std::u16string name) : name_(std::move(name)) {}
  CNamedLock(const CNamedLock&) = delete;
  CNamedLock& operator=(const CNamedLock&) = delete;

  void lock() { mutex_.lock(); }
  void unlock() { mutex_.unlock(); }
  bool try_lock() { return mutex_.try_lock(); }
  bool tryLockFor(std::chrono::milliseconds timeout) { return mutex_.try_lock_for(timeout); }
  const std::u16string& name() const { return name_; }

 private:
  std::u16string name_;
  std::recursive_timed_mutex mutex_;
};

// The lock of that name, made on first use and kept until the process ends, so every
// module that opens the name gets the same lock. An empty name, one longer than 260
// characters or one holding '\' cannot be made: excpt::ProcessMutexException (9999).
TAVREL_API CNamedLock& openNamedLock(const std::u16string& name);

}  // namespace tavrel
