// Mutexes that remember their owner. They behave like the platform's: the holder may lock
// again (each lock needs its unlock), and a mutex whose holding thread ended without
// unlocking counts as abandoned and goes to the next locker.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "Tasks.h"

namespace tavrel::os {

struct tag_MutexInfo {
  std::mutex guard;
  std::condition_variable freed;
  std::thread::id holder;
  unsigned depth = 0;
  std::weak_ptr<const char> holderAlive;  // expires when the holding thread ends
  tag_ThreadInfo* owner = nullptr;        // under the core lock
};

tag_MutexInfo* createMutex();
// Frees the mutex; 0; null does nothing.
int destroyMutex(tag_MutexInfo* mutex);
// noWait non-zero: no waiting; otherwise timeout in milliseconds, 0 meaning no limit.
// 0 on success (owner := currentTask()), -1 otherwise.
int lockMutex(tag_MutexInfo* mutex, std::uint32_t noWait, std::uint32_t timeout);
// 0; -1 (and nothing changes) when the caller does not hold the mutex.
int unlockMutex(tag_MutexInfo* mutex);
// The owner's address, or -1 for a null mutex. A pointer does not fit the 32-bit result of
// the platform call, so the result is pointer-sized.
std::intptr_t mutexOwner(tag_MutexInfo* mutex);

}  // namespace tavrel::os
