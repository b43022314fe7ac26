// Inside the task table: the state one run of a task body shares with its thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "Tasks.h"

namespace tavrel::os {

struct TaskRun {
  TaskEntry entry;
  int priority = 0;

  std::mutex mutex;
  std::condition_variable changed;
  unsigned suspendCount = 0;
  bool stopRequested = false;
  bool parked = false;  // inside taskCheckpoint(), suspended
  bool ended = false;   // the body has returned
  // Mirrors "suspended or asked to stop", so that a check point costs one load.
  std::atomic<bool> attention{false};
  // Set when endTask gave up waiting and detached the thread.
  std::atomic<bool> abandoned{false};

  void suspend();
  void resume();
  void release();
  void requestStop();
  bool hasEnded();
  bool waitEnded(std::chrono::milliseconds limit);

 private:
  // Called with mutex held.
  void changedControl();
};

// The run and slot of the calling thread; null on threads that createTask did not make.
inline thread_local TaskRun* tlsRun = nullptr;
inline thread_local tag_ThreadInfo* tlsSlot = nullptr;

}  // namespace tavrel::os
