#pragma once

#include <string>

#include "tavrel/NamedLock.h"

namespace tavrel {

// Owns the per-process named lock "TAvrelLock" + decimal process id, which the shell and
// the core share: the shell holds it around each plug-in's import and closeLibrary, the core
// while it replaces the ROM path. Used as TSingleton<CMemory>.
class TAVREL_API CMemory {
 public:
  // Raises excpt::ProcessMutexException (9999) when the lock cannot be made.
  CMemory();

  static std::u16string processLockName();
  CNamedLock& processLock() { return lock_; }

  void lock() { lock_.lock(); }
  void unlock() { lock_.unlock(); }
  bool try_lock() { return lock_.try_lock(); }

 private:
  CNamedLock& lock_;
};

}  // namespace tavrel
